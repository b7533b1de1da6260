// Messages put together from parts (file names, page counts, a server's words) are shown in the
// user's language: the form is translated and the parts are set into it unchanged.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/message_text.h"
#include "res/language.h"

using vellumo::platform::TranslatedMessage;

TEST(MessageText, StatusesAndQuestionsWithPartsAreTranslated) {
    ASSERT_TRUE(vellumo::res::InstallLanguage(QStringLiteral("de")));
    EXPECT_EQ(TranslatedMessage(QStringLiteral("Recognising text, page 3 of 12")),
              QStringLiteral("Texterkennung, Seite 3 von 12"));
    EXPECT_EQ(TranslatedMessage(QStringLiteral("Loading pages...")),
              QStringLiteral("Seiten werden geladen..."));
    // A file name that looks like a form's words or holds a placeholder stays as it is.
    EXPECT_EQ(TranslatedMessage(QStringLiteral("Bank %1. Password: is protected. Password:")),
              QStringLiteral("Bank %1. Password: ist geschützt. Passwort:"));
    EXPECT_EQ(TranslatedMessage(QStringLiteral("Wrong password for a.pdf. Password:")),
              QStringLiteral("Falsches Passwort für a.pdf. Passwort:"));
    // A text the program does not know is shown as it came (a scanner's own words).
    EXPECT_EQ(TranslatedMessage(QStringLiteral("Jammed at tray 2")),
              QStringLiteral("Jammed at tray 2"));
}
