#include "platform/message_text.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <vector>

namespace vellumo::platform {

namespace {

constexpr const char* kContext = "Message";

// The forms of the messages the program shows, with %1, %2 … for the parts that vary: file
// names, error numbers, the scanner's name and the words of its errors. Texts shown as they
// are need no entry here when their own code marks them; these come from the Qt-free
// libraries or are put together from parts.
const char* const kMessageForms[] = {
    // PDF building and saving.
    QT_TRANSLATE_NOOP("Message", "*** Successfully created %1 ***"),
    QT_TRANSLATE_NOOP("Message", "Could not create PDF file %1 (error %2): invalid parameters"),
    QT_TRANSLATE_NOOP("Message",
                      "Could not create PDF file %1 (error %2), possibly because the file is in "
                      "use by another application"),
    QT_TRANSLATE_NOOP("Message",
                      "Could not create PDF file %1 (error %2), PDF file already exists and "
                      "could not be overwritten - it is possibly being held open by a PDF "
                      "viewer application"),
    QT_TRANSLATE_NOOP("Message", "Could not create PDF file %1 (error %2): no images to be added"),
    QT_TRANSLATE_NOOP("Message", "Could not create PDF file %1: %2"),
    QT_TRANSLATE_NOOP("Message", "Could not add image to PDF file %1 (error %2)"),
    QT_TRANSLATE_NOOP("Message", "Unsupported graphics format"),
    QT_TRANSLATE_NOOP("Message", "Creating PDF..."),
    QT_TRANSLATE_NOOP("Message", "Creating mail message..."),
    QT_TRANSLATE_NOOP("Message", "Recognising text, page %1 of %2"),
    // Scanning.
    QT_TRANSLATE_NOOP("Message", "Looking for scanner..."),
    QT_TRANSLATE_NOOP("Message", "Setting up scanner %1 ...."),
    QT_TRANSLATE_NOOP("Message", "Scanning from %1 ...."),
    QT_TRANSLATE_NOOP("Message", "Saving image to temporary file ...."),
    QT_TRANSLATE_NOOP("Message", "Error opening TWAIN session"),
    QT_TRANSLATE_NOOP("Message", "Scanner doesn't support duplex mode"),
    QT_TRANSLATE_NOOP("Message", "The scanner is still busy with the last scan"),
    QT_TRANSLATE_NOOP("Message", "Error while setting units:\n%1"),
    QT_TRANSLATE_NOOP("Message", "Error while setting pixel type:\n%1"),
    QT_TRANSLATE_NOOP("Message", "Error while setting resolution:\n%1"),
    QT_TRANSLATE_NOOP("Message", "Error while setting brightness to %1\n%2"),
    QT_TRANSLATE_NOOP("Message", "Error while setting image layout: capability not supported\n%1"),
    QT_TRANSLATE_NOOP("Message", "Error while setting XferCount\n%1"),
    QT_TRANSLATE_NOOP("Message", "Error while scanning:\n%1"),
    QT_TRANSLATE_NOOP("Message", "Error while selecting data source:\n%1"),
    QT_TRANSLATE_NOOP("Message", "Error %1 while converting image"),
    QT_TRANSLATE_NOOP("Message", "Error %1 while saving image"),
    // Pages.
    QT_TRANSLATE_NOOP("Message", "Nothing to save yet"),
    QT_TRANSLATE_NOOP("Message", "Nothing to mail yet"),
    QT_TRANSLATE_NOOP("Message", "Clear list of pages to save or send?"),
    QT_TRANSLATE_NOOP("Message", "Clear list of pages to send?"),
    QT_TRANSLATE_NOOP("Message", "Delete this image?"),
    QT_TRANSLATE_NOOP("Message", "Loading pages..."),
    QT_TRANSLATE_NOOP("Message", "%1 is protected. Password:"),
    QT_TRANSLATE_NOOP("Message", "Wrong password for %1. Password:"),
    QT_TRANSLATE_NOOP("Message", "No page selected"),
    QT_TRANSLATE_NOOP("Message", "No need to move page"),
    QT_TRANSLATE_NOOP("Message", "You didn't save or send the pages in the list. Quit anyway?"),
    // Keeping the pages over a crash.
    QT_TRANSLATE_NOOP("Message",
                      "Vellumo was not closed properly. Restore the %1 pages of the last session?"),
    QT_TRANSLATE_NOOP("Message", "1 page could not be restored because its file is missing."),
    QT_TRANSLATE_NOOP("Message", "%1 pages could not be restored because their files are missing."),
    QT_TRANSLATE_NOOP("Message",
                      "The list of pages of a session that was not closed properly could not be "
                      "read (%1). It was set aside in %2."),
    QT_TRANSLATE_NOOP("Message",
                      "The folder for the pages cannot be used (%1). Pages are kept in the "
                      "temporary folder and cannot be restored after a crash."),
    QT_TRANSLATE_NOOP("Message",
                      "The change was not made: the list of pages could not be saved in %1 (%2)."),
    // Mail.
    QT_TRANSLATE_NOOP("Message", "Unable to determine temporary file path"),
    QT_TRANSLATE_NOOP("Message", "Unable to create temporary file"),
    QT_TRANSLATE_NOOP("Message", "Unable to initialize MIME"),
    QT_TRANSLATE_NOOP("Message", "Unable to create message"),
    QT_TRANSLATE_NOOP("Message", "Unable to attach file"),
    QT_TRANSLATE_NOOP("Message", "Unable to initialize SMTP"),
    QT_TRANSLATE_NOOP("Message",
                      "SMTP server requires authentication, but you did not specify a user-id "
                      "and password for this server!"),
    QT_TRANSLATE_NOOP("Message", "Message successfully sent"),
    QT_TRANSLATE_NOOP("Message", "Message successfully sent to %1"),
    QT_TRANSLATE_NOOP("Message", "Unable to deliver message to %1: %2"),
    QT_TRANSLATE_NOOP("Message", "Sending mail message, please wait ..."),
    QT_TRANSLATE_NOOP("Message", "Sending mail, please wait ..."),
    QT_TRANSLATE_NOOP("Message", "Connecting to mail server, please wait ..."),
    QT_TRANSLATE_NOOP("Message", "Logging in to mail server, please wait ..."),
    QT_TRANSLATE_NOOP("Message", "Could not find MAPI DLL"),
    QT_TRANSLATE_NOOP("Message", "Invalid MAPI DLL"),
    QT_TRANSLATE_NOOP("Message", "No memory during MAPI send mail"),
    QT_TRANSLATE_NOOP("Message", "Error during MAPI send mail"),
    QT_TRANSLATE_NOOP("Message", "*** Mail application ended without errors ***"),
    // File dialogs: titles and filter entries.
    QT_TRANSLATE_NOOP("Message", "Select PDF file to save to"),
    QT_TRANSLATE_NOOP("Message", "Select file(s) to load"),
    QT_TRANSLATE_NOOP("Message", "Save As Graphics File"),
    QT_TRANSLATE_NOOP("Message", "PDF File (*.PDF)"),
    QT_TRANSLATE_NOOP("Message", "TIFF File (*.tif)"),
    QT_TRANSLATE_NOOP("Message", "BMP File (*.bmp)"),
    QT_TRANSLATE_NOOP("Message", "JPEG File (*.jpg)"),
    QT_TRANSLATE_NOOP("Message", "PCX File (*.pcx)"),
    QT_TRANSLATE_NOOP("Message", "GIF File (*.gif)"),
    QT_TRANSLATE_NOOP("Message", "PNG File (*.png)"),
    QT_TRANSLATE_NOOP("Message", "EPS File (*.eps)"),
    QT_TRANSLATE_NOOP("Message", "TGA File (*.tga)"),
};

struct Form {
    const char* english;
    QRegularExpression pattern;  // the whole message, one group for each %n in order
    std::vector<int> order;      // the n of each group
};

// The forms with variable parts, longest first, so that a longer, more particular form wins.
const std::vector<Form>& Forms() {
    static const std::vector<Form> forms = [] {
        std::vector<Form> list;
        static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
        for (const char* english : kMessageForms) {
            const QString form = QString::fromUtf8(english);
            if (!form.contains(placeholder)) continue;
            QString pattern;
            std::vector<int> order;
            qsizetype at = 0;
            for (auto m = placeholder.globalMatch(form); m.hasNext();) {
                const QRegularExpressionMatch hit = m.next();
                pattern += QRegularExpression::escape(form.mid(at, hit.capturedStart() - at));
                pattern += QStringLiteral("([\\s\\S]*?)");
                order.push_back(hit.captured(1).toInt());
                at = hit.capturedEnd();
            }
            pattern += QRegularExpression::escape(form.mid(at));
            list.push_back({english,
                            QRegularExpression(QRegularExpression::anchoredPattern(pattern)),
                            std::move(order)});
        }
        std::stable_sort(list.begin(), list.end(), [](const Form& a, const Form& b) {
            return std::strlen(a.english) > std::strlen(b.english);
        });
        return list;
    }();
    return forms;
}

// Puts the parts into a translated form: %n replaced once each, so a part that itself holds
// "%1" stays as it is.
QString Fill(const QString& form, const std::vector<int>& order, const QStringList& parts) {
    QString out;
    static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
    qsizetype at = 0;
    for (auto m = placeholder.globalMatch(form); m.hasNext();) {
        const QRegularExpressionMatch hit = m.next();
        out += form.mid(at, hit.capturedStart() - at);
        const int n = hit.captured(1).toInt();
        const auto slot = std::find(order.begin(), order.end(), n);
        out += slot == order.end() ? hit.captured(0) : parts[slot - order.begin()];
        at = hit.capturedEnd();
    }
    return out + form.mid(at);
}

}  // namespace

QString TranslatedMessage(const QString& english) {
    if (english.isEmpty()) return english;
    const QByteArray key = english.toUtf8();
    const QString exact = QCoreApplication::translate(kContext, key.constData());
    if (exact != english) return exact;
    for (const Form& form : Forms()) {
        const QRegularExpressionMatch match = form.pattern.match(english);
        if (!match.hasMatch()) continue;
        const QString translated = QCoreApplication::translate(kContext, form.english);
        if (translated == QString::fromUtf8(form.english)) return english;
        QStringList parts;
        for (size_t i = 0; i < form.order.size(); ++i)
            parts << match.captured(static_cast<int>(i) + 1);
        return Fill(translated, form.order, parts);
    }
    return english;
}

QString TranslatedFilter(const QString& english) {
    QStringList entries = english.split(QStringLiteral(";;"));
    for (QString& entry : entries) entry = TranslatedMessage(entry);
    return entries.join(QStringLiteral(";;"));
}

}  // namespace vellumo::platform
