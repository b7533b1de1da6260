// Puts the help page, the desktop entry and the AppStream metadata into every language the
// program speaks, from the same .ts files as the program's own texts, and lists their English
// texts for lupdate, which reads only source code.
//
//   vellumo_localize texts OUT.cpp HELP.html DESKTOP METAINFO
//   vellumo_localize help IN.html OUT.html LANGUAGE.ts
//   vellumo_localize desktop IN OUT LANGUAGE.ts...
//   vellumo_localize metainfo IN OUT LANGUAGE.ts...
//
// A text without a finished translation stays English in the output.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <cstdio>
#include <vector>

namespace {

struct Unit {
    QString context;
    QString text;
};

QString Read(const QString& path, bool* ok) {
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    if (!*ok) std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

bool Write(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Runs of white space, line breaks included, become one space: the key a text is found by.
QString Simplified(const QString& text) {
    return text.simplified();
}

// ---- the translations of one language, from its .ts file ----

struct Catalogue {
    QString language;
    QHash<QString, QString> texts;  // context + '\x1f' + source -> translation

    QString find(const QString& context, const QString& source) const {
        return texts.value(context + QChar(0x1f) + source);
    }
};

bool LoadCatalogue(const QString& path, Catalogue& out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context, source, translation;
    bool finished = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("TS")) {
                out.language = xml.attributes().value(QLatin1String("language")).toString();
                out.language = out.language.left(out.language.indexOf(QLatin1Char('_')));
            } else if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                finished = type.isEmpty();
                translation = xml.readElementText();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            if (finished && !translation.isEmpty())
                out.texts.insert(context + QChar(0x1f) + source, translation);
            source.clear();
            translation.clear();
            finished = false;
        }
    }
    if (xml.hasError()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(xml.errorString()));
        return false;
    }
    return true;
}

// ---- the texts of each kind of file ----

// The help page: the inner HTML of every block that holds words, and the links of its table of
// contents.
const QRegularExpression& HelpBlock() {
    static const QRegularExpression block(
        QStringLiteral("<(title|h1|h2|h3|p|li|td|th)((?: [^>]*)?)>(.*?)</\\1>|"
                       "(<a href=\"#[^\"]*\">)(.*?)(</a>)"),
        QRegularExpression::DotMatchesEverythingOption);
    return block;
}

std::vector<Unit> HelpUnits(const QString& html) {
    std::vector<Unit> units;
    for (auto m = HelpBlock().globalMatch(html); m.hasNext();) {
        const auto hit = m.next();
        const QString inner = hit.captured(3).isNull() ? hit.captured(5) : hit.captured(3);
        if (!Simplified(inner).isEmpty())
            units.push_back({QStringLiteral("Help"), Simplified(inner)});
    }
    return units;
}

QString LocalizedHelp(const QString& html, const Catalogue& catalogue) {
    QString out;
    qsizetype at = 0;
    for (auto m = HelpBlock().globalMatch(html); m.hasNext();) {
        const auto hit = m.next();
        const bool link = hit.captured(3).isNull();
        const int innerGroup = link ? 5 : 3;
        out += html.mid(at, hit.capturedStart(innerGroup) - at);
        const QString inner = hit.captured(innerGroup);
        const QString translated = catalogue.find(QStringLiteral("Help"), Simplified(inner));
        out += translated.isEmpty() ? inner : translated;
        at = hit.capturedEnd(innerGroup);
    }
    out += html.mid(at);
    out.replace(QStringLiteral("<html lang=\"en\">"),
                QStringLiteral("<html lang=\"%1\">").arg(catalogue.language));
    return out;
}

// The desktop entry: the keys the desktop shows the user. The name is the product's own.
const QStringList kDesktopKeys = {QStringLiteral("GenericName"), QStringLiteral("Comment"),
                                  QStringLiteral("Keywords")};

std::vector<Unit> DesktopUnits(const QString& entry) {
    std::vector<Unit> units;
    for (const QString& line : entry.split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && kDesktopKeys.contains(line.left(eq)))
            units.push_back({QStringLiteral("DesktopEntry"), line.mid(eq + 1)});
    }
    return units;
}

QString LocalizedDesktop(const QString& entry, const std::vector<Catalogue>& catalogues) {
    QStringList out;
    for (const QString& line : entry.split(QLatin1Char('\n'))) {
        out << line;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !kDesktopKeys.contains(line.left(eq))) continue;
        for (const Catalogue& c : catalogues) {
            const QString translated = c.find(QStringLiteral("DesktopEntry"), line.mid(eq + 1));
            if (!translated.isEmpty())
                out << QStringLiteral("%1[%2]=%3").arg(line.left(eq), c.language, translated);
        }
    }
    return out.join(QLatin1Char('\n'));
}

// The AppStream metadata: the summary and the description's paragraphs and list entries.
const QRegularExpression& MetainfoElement() {
    static const QRegularExpression element(
        QStringLiteral("^([ \\t]*)<(summary|p|li)>(.*?)</\\2>[ \\t]*$"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::MultilineOption);
    return element;
}

std::vector<Unit> MetainfoUnits(const QString& xml) {
    std::vector<Unit> units;
    for (auto m = MetainfoElement().globalMatch(xml); m.hasNext();)
        units.push_back({QStringLiteral("AppStream"), Simplified(m.next().captured(3))});
    return units;
}

QString LocalizedMetainfo(const QString& xml, const std::vector<Catalogue>& catalogues) {
    QString out;
    qsizetype at = 0;
    for (auto m = MetainfoElement().globalMatch(xml); m.hasNext();) {
        const auto hit = m.next();
        out += xml.mid(at, hit.capturedEnd() - at);
        at = hit.capturedEnd();
        const QString indent = hit.captured(1), tag = hit.captured(2);
        for (const Catalogue& c : catalogues) {
            const QString translated =
                c.find(QStringLiteral("AppStream"), Simplified(hit.captured(3)));
            if (!translated.isEmpty())
                out += QStringLiteral("\n%1<%2 xml:lang=\"%3\">%4</%2>")
                           .arg(indent, tag, c.language, translated);
        }
    }
    return out + xml.mid(at);
}

// A C++ string literal for lupdate.
QString Literal(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vellumo_localize texts OUT.cpp HELP.html DESKTOP METAINFO\n"
                 "       vellumo_localize help IN.html OUT.html LANGUAGE.ts\n"
                 "       vellumo_localize desktop|metainfo IN OUT LANGUAGE.ts...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) return Usage();
    const QString mode = args[1];
    bool ok = true;

    if (mode == QLatin1String("texts") && args.size() == 6) {
        std::vector<Unit> units;
        for (const auto& [path, list] :
             {std::pair<QString, std::vector<Unit> (*)(const QString&)>{args[3], HelpUnits},
              {args[4], DesktopUnits},
              {args[5], MetainfoUnits}}) {
            const std::vector<Unit> found = list(Read(path, &ok));
            if (!ok) return 1;
            units.insert(units.end(), found.begin(), found.end());
        }
        QString out = QStringLiteral(
            "// Generated by vellumo_localize: the texts of the help page, the desktop entry\n"
            "// and the AppStream metadata, for lupdate.\n"
            "#include <QtGlobal>\n\nconst char* const kLocalizedTexts[] = {\n");
        for (const Unit& unit : units)
            out += QStringLiteral("    QT_TRANSLATE_NOOP(%1, %2),\n")
                       .arg(Literal(unit.context), Literal(unit.text));
        out += QStringLiteral("};\n");
        return Write(args[2], out) ? 0 : 1;
    }

    if (args.size() < 5) return Usage();
    const QString in = Read(args[2], &ok);
    if (!ok) return 1;
    std::vector<Catalogue> catalogues;
    for (int i = 4; i < args.size(); ++i) {
        Catalogue c;
        if (!LoadCatalogue(args[i], c)) return 1;
        catalogues.push_back(std::move(c));
    }
    if (mode == QLatin1String("help") && catalogues.size() == 1)
        return Write(args[3], LocalizedHelp(in, catalogues[0])) ? 0 : 1;
    if (mode == QLatin1String("desktop"))
        return Write(args[3], LocalizedDesktop(in, catalogues)) ? 0 : 1;
    if (mode == QLatin1String("metainfo"))
        return Write(args[3], LocalizedMetainfo(in, catalogues)) ? 0 : 1;
    return Usage();
}
