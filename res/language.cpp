#include "res/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QStringList>
#include <QTranslator>
#include <cstring>

#include "res/resources.h"

namespace vellumo::res {

namespace {

QString installed = QStringLiteral("en");

// "de_DE.UTF-8@euro" -> "de"; "C" and "POSIX" -> "".
QString LanguageOf(const QString& locale) {
    QString language = locale;
    for (const QChar cut : {QLatin1Char('.'), QLatin1Char('@'), QLatin1Char('_')}) {
        const qsizetype at = language.indexOf(cut);
        if (at >= 0) language.truncate(at);
    }
    language = language.toLower();
    if (language == QLatin1String("c") || language == QLatin1String("posix")) return QString();
    return language;
}

// The program's translations. A class in a namespace asks with its full name
// ("vellumo::prefs::CTabGeneralDlg"), while the .ts files know it by its own name, as lupdate
// writes it: a text not found under the full name is looked for under the class's own.
class ProgramTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        QString text = QTranslator::translate(context, source, disambiguation, n);
        if (text.isEmpty() && context)
            if (const char* own = std::strrchr(context, ':'))
                text = QTranslator::translate(own + 1, source, disambiguation, n);
        return text;
    }
};

bool Translated(const QString& language) {
    for (const char* code : kTranslatedLanguages)
        if (language == QLatin1String(code)) return true;
    return false;
}

}  // namespace

QString ChooseLanguage(const std::function<QString(const char* name)>& variable) {
    // The first of LC_ALL, LC_MESSAGES and LANG that is set is the locale of messages.
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = variable(name);
        if (!locale.isEmpty()) break;
    }
    // LANGUAGE lists the user's languages in order of preference; English among them stops the
    // search, as it is the program's own language.
    QStringList wanted = variable("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    wanted << locale;
    for (const QString& entry : wanted) {
        const QString language = LanguageOf(entry);
        if (language == QLatin1String("en")) break;
        if (Translated(language)) return language;
    }
    return QStringLiteral("en");
}

QString ChooseLanguage() {
    return ChooseLanguage([](const char* name) { return QString::fromLocal8Bit(qgetenv(name)); });
}

bool InstallLanguage(const QString& language) {
    if (!Translated(language) || !QCoreApplication::instance()) return false;
    InitVellumoResources();
    // The program's texts, then Qt's own (the buttons of message boxes, the file dialog).
    static QPointer<QTranslator> program, qt;
    for (QPointer<QTranslator>* old : {&program, &qt})
        if (*old) {
            QCoreApplication::removeTranslator(*old);
            delete old->data();
        }
    program = new ProgramTranslator(QCoreApplication::instance());
    if (!program->load(QStringLiteral(":/i18n/vellumo_%1.qm").arg(language))) return false;
    QCoreApplication::installTranslator(program);
    qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QStringLiteral("qtbase_%1").arg(language),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    // The artwork of the language (":/images/…" resolves by the default locale).
    QLocale::setDefault(QLocale(language));
    installed = language;
    return true;
}

QString InstalledLanguage() {
    return installed;
}

}  // namespace vellumo::res
