// The MIME composer, checked by an independent reader (Python's email package) and by the
// line rules of the message format.
#include "mail/mime_message.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <sstream>

#include "smtp_test_server.h"

using namespace vellumo::mail;

using namespace testsupport;
using mailtest::ParseMessage;

namespace {

// Every line ends in CRLF; header lines stay within 78 characters, body lines within 998
// (76 in encoded parts is checked where it matters).
void ExpectWellFormedLines(const std::string& raw, size_t maxBodyLine = 998) {
    ASSERT_GE(raw.size(), 2u);
    EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
    bool inHeader = true;
    size_t start = 0;
    while (start < raw.size()) {
        const size_t lf = raw.find('\n', start);
        ASSERT_NE(lf, std::string::npos);
        ASSERT_EQ(raw[lf - 1], '\r') << "bare LF at " << lf;
        const std::string line = raw.substr(start, lf - 1 - start);
        EXPECT_EQ(line.find('\r'), std::string::npos) << "bare CR in: " << line;
        if (line.empty()) inHeader = false;
        EXPECT_LE(line.size(), inHeader ? 78u : maxBodyLine) << line;
        start = lf + 1;
    }
}

std::string Compose(MimeMessage& m, const std::string& dir) {
    const std::string path = dir + "/message.eml";
    EXPECT_TRUE(m.writeToFile(path));
    return path;
}

}  // namespace

TEST(MimeEncoders, Base64MatchesTheStandardVectors) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(mime::Base64(in), out) << in;
    EXPECT_EQ(mime::Base64(std::string("\xff\x00\xfe", 3)), "/wD+");
}

TEST(MimeEncoders, QuotedPrintableKeepsLinesShortAndDotsSafe) {
    const std::string text = ".leading dot\r\nFrom here\r\ntrailing space \r\n" +
                             std::string(200, 'a') + "=\xc3\xa4\r\n.";
    const std::string qp = mime::QuotedPrintable(text);
    std::istringstream lines(qp);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        EXPECT_LE(line.size(), 76u) << line;
        EXPECT_NE(line.rfind(".", 0), 0u) << "line starts with a dot: " << line;
        EXPECT_NE(line.rfind("From ", 0), 0u) << line;
        if (!line.empty()) {
            EXPECT_NE(line.back(), ' ') << "trailing blank: " << line;
        }
    }
    EXPECT_NE(qp.find("=2Eleading"), std::string::npos);
    EXPECT_NE(qp.find("=3D=C3=A4"), std::string::npos);
}

TEST(MimeEncoders, LineEndsBecomeCrlf) {
    EXPECT_EQ(mime::ToCrlf("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
}

TEST(MimeEncoders, DateIsRfc5322InTheLocalZone) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(mime::FormatDate(0), "Thu, 01 Jan 1970 00:00:00 +0000");
    setenv("TZ", "EST5", 1);
    tzset();
    EXPECT_EQ(mime::FormatDate(86400 * 365), "Thu, 31 Dec 1970 19:00:00 -0500");
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(MimeComposer, InternationalTextSurvivesAnIndependentReader) {
    TempDir dir;
    const std::string subject =
        "Rechnungen für März – Übersicht der gescannten Seiten mit einem recht langen Betreff, "
        "der gefaltet werden muss 日本語のテキスト";
    const std::string body = "Grüße aus Köln!\n.Zeile mit Punkt\nFrom the scanner\n" +
                             std::string(1500, 'x') + "\r\nEnde mit Leerzeichen \n";
    const std::string fileName = "Prüfbericht März 2026 – sehr langer Dateiname für Anhänge.pdf";
    writeFile(dir.file(fileName), "%PDF-1.4\n\x01\x02\xff binary\r\n.\r\n");

    MimeMessage m;
    ASSERT_TRUE(m.setHeader("From", "Jörg Müller <joerg@example.com>"));
    ASSERT_TRUE(m.setHeader("To", "bob@example.net, Zoë Ångström <zoe@example.org>"));
    ASSERT_TRUE(m.setHeader("Subject", subject));
    m.setOption(kMimeOptionDateAndMessageId, 1);
    m.setBody(body);
    ASSERT_TRUE(m.attachFile(dir.file(fileName)));
    const std::string path = Compose(m, dir.path());
    const std::string raw = readFile(path);
    ExpectWellFormedLines(raw);
    for (unsigned char c : raw) ASSERT_LT(c, 0x80) << "8-bit byte in the message";

    const auto parsed = ParseMessage(path);
    EXPECT_EQ(parsed.defects, 0);
    EXPECT_EQ(parsed.header("Subject"), subject);
    EXPECT_EQ(parsed.header("From"), "Jörg Müller <joerg@example.com>");
    EXPECT_EQ(parsed.header("To"), "bob@example.net, Zoë Ångström <zoe@example.org>");
    EXPECT_EQ(parsed.header("MIME-Version"), "1.0");
    EXPECT_NE(parsed.header("Date"), "");
    EXPECT_NE(parsed.header("Message-ID").find("@example.com>"), std::string::npos);
    EXPECT_EQ(parsed.body, [&] {
        std::string expected = body;
        // The reader hands text back with LF line ends.
        std::string out;
        for (size_t i = 0; i < expected.size(); ++i)
            if (expected[i] != '\r') out += expected[i];
        return out;
    }());
    ASSERT_EQ(parsed.attachments.size(), 1u);
    EXPECT_EQ(parsed.attachments[0].first, fileName);
    EXPECT_EQ(parsed.attachments[0].second, readFile(dir.file(fileName)));
    EXPECT_NE(raw.find("filename*0*=UTF-8''Pr%C3%BCfbericht"), std::string::npos);
    EXPECT_NE(raw.find(" name=\"=?UTF-8?B?"), std::string::npos);
}

TEST(MimeComposer, LongAsciiFileNameIsSplitIntoSections) {
    TempDir dir;
    const std::string fileName = std::string(90, 'n') + " \"quoted\".pdf";
    writeFile(dir.file(fileName), "data");
    MimeMessage m;
    m.setHeader("From", "a@example.com");
    ASSERT_TRUE(m.attachFile(dir.file(fileName)));
    const std::string path = Compose(m, dir.path());
    ExpectWellFormedLines(readFile(path));
    const auto parsed = ParseMessage(path);
    EXPECT_EQ(parsed.defects, 0);
    ASSERT_EQ(parsed.attachments.size(), 1u);
    EXPECT_EQ(parsed.attachments[0].first, fileName);
}

TEST(MimeComposer, LargeAttachmentIsStreamedInBase64Lines) {
    TempDir dir;
    mailtest::WriteRandomFile(dir.file("Images.pdf"), 3 * 1024 * 1024 + 17);
    MimeMessage m;
    m.setHeader("From", "a@example.com");
    m.setHeader("To", "b@example.com");
    m.setHeader("Subject", "plain ascii");
    m.setBody("See attachment.");
    ASSERT_TRUE(m.attachFile(dir.file("Images.pdf")));
    const std::string path = Compose(m, dir.path());
    const std::string raw = readFile(path);
    ExpectWellFormedLines(raw, 76);
    EXPECT_NE(raw.find("Content-Type: multipart/mixed"), std::string::npos);
    EXPECT_NE(raw.find("filename=\"Images.pdf\""), std::string::npos);
    EXPECT_EQ(raw.find("Date:"), std::string::npos) << "no Date without the option";
    const auto parsed = ParseMessage(path);
    EXPECT_EQ(parsed.defects, 0);
    EXPECT_EQ(parsed.body, "See attachment.\n");
    ASSERT_EQ(parsed.attachments.size(), 1u);
    EXPECT_EQ(parsed.attachments[0].second, readFile(dir.file("Images.pdf")));
}

TEST(MimeComposer, MostlyNonLatinBodyIsBase64) {
    TempDir dir;
    std::string body;
    for (int i = 0; i < 40; ++i) body += "Съешь же ещё этих мягких французских булок. ";
    MimeMessage m;
    m.setHeader("From", "a@example.com");
    m.setBody(body);
    const std::string path = Compose(m, dir.path());
    const std::string raw = readFile(path);
    EXPECT_NE(raw.find("Content-Transfer-Encoding: base64"), std::string::npos);
    ExpectWellFormedLines(raw, 76);
    EXPECT_EQ(ParseMessage(path).body, body);
}

TEST(MimeComposer, LineBreaksInHeaderValuesCannotAddFields) {
    TempDir dir;
    MimeMessage m;
    m.setHeader("From", "a@example.com");
    m.setHeader("Subject", "Hello\r\nBcc: victim@example.org\nX-Evil: 1");
    EXPECT_FALSE(m.setHeader("Bad Name", "x"));
    EXPECT_FALSE(m.setHeader("Content-Type", "text/html"));
    m.setBody("x");
    const auto parsed = ParseMessage(Compose(m, dir.path()));
    EXPECT_EQ(parsed.headers.count("Bcc"), 0u);
    EXPECT_EQ(parsed.headers.count("X-Evil"), 0u);
    EXPECT_EQ(parsed.header("Subject"), "Hello  Bcc: victim@example.org X-Evil: 1");
    EXPECT_EQ(parsed.header("Content-Type"), "text/plain; charset=\"utf-8\"");
}

TEST(MimeComposer, BodyThatLooksLikeTheBoundaryIsEncoded) {
    TempDir dir;
    writeFile(dir.file("a.bin"), "xyz");
    MimeMessage m;
    m.setHeader("From", "a@example.com");
    m.setBody("--=_vellumo_ lines that start like a boundary\n--\n");
    ASSERT_TRUE(m.attachFile(dir.file("a.bin")));
    const auto parsed = ParseMessage(Compose(m, dir.path()));
    EXPECT_EQ(parsed.defects, 0);
    EXPECT_EQ(parsed.body, "--=_vellumo_ lines that start like a boundary\n--\n");
    ASSERT_EQ(parsed.attachments.size(), 1u);
    EXPECT_EQ(parsed.attachments[0].second, "xyz");
}

TEST(MimeLibrary, HandlesLiveFromInitialiseToShutdown) {
    TempDir dir;
    MimeShutdown();
    EXPECT_EQ(MimeCreateMessage(), -1) << "not started";
    ASSERT_TRUE(MimeInitialize());
    const int message = MimeCreateMessage();
    ASSERT_GT(message, 0);
    EXPECT_EQ(MimeAttachFile(message, dir.file("missing.pdf"), 0), 0);
    EXPECT_EQ(MimeAttachFile(message, dir.path(), 0), 0) << "a folder is not a file";
    writeFile(dir.file("ok.pdf"), "data");
    EXPECT_NE(MimeAttachFile(message, dir.file("ok.pdf"), 0), 0);
    MimeSetHeader(message, "From", "a@example.com");
    MimeSetOption(message, kMimeOptionDateAndMessageId, 1);
    MimeSetBody(message, "x");
    EXPECT_TRUE(MimeWriteToFile(message, dir.file("m.eml")));
    EXPECT_FALSE(MimeWriteToFile(message, "/dev/full")) << "a full disk is reported";
    // The attachment vanished between attach and write: the message is reported incomplete.
    ::unlink(dir.file("ok.pdf").c_str());
    EXPECT_FALSE(MimeWriteToFile(message, dir.file("m2.eml")));
    MimeShutdown();
    EXPECT_FALSE(MimeWriteToFile(message, dir.file("m3.eml"))) << "handle released";
    EXPECT_EQ(MimeAttachFile(message, dir.file("m.eml"), 0), 0);
}

TEST(MimeComposer, AVeryLongWordIsFoldedAsEncodedWords) {
    TempDir dir;
    MimeMessage m;
    const std::string subject(1200, 'x');
    m.setHeader("From", "a@example.com");
    m.setHeader("Subject", subject);
    m.setHeader("X-Note", "short words, then " + std::string(90, 'y') + " and more");
    m.setBody("x");
    const std::string path = Compose(m, dir.path());
    ExpectWellFormedLines(readFile(path));
    const auto parsed = ParseMessage(path);
    EXPECT_EQ(parsed.header("Subject"), subject);
    EXPECT_EQ(parsed.header("X-Note"), "short words, then " + std::string(90, 'y') + " and more");
    EXPECT_EQ(parsed.defects, 0);
}

TEST(MimeComposer, AddressListsWithSemicolonsGetCommas) {
    const std::pair<const char*, const char*> cases[] = {
        {"a@example.org; b@example.net", "a@example.org, b@example.net"},
        {"a@example.org;b@example.net,c@example.com",
         "a@example.org, b@example.net, c@example.com"},
        {" a@example.org ;; ", "a@example.org"},
        {"\"Doe; John\" <j@example.org>; Ann <a@example.org>",
         "\"Doe; John\" <j@example.org>, Ann <a@example.org>"},
        {"", ""},
    };
    for (const auto& [typed, header] : cases) EXPECT_EQ(mime::NormaliseAddressList(typed), header);
}

TEST(MimeComposer, OnlyWellFormedUtf8IsDeclaredUtf8) {
    EXPECT_TRUE(
        mime::IsValidUtf8("Gr\xC3\xBC\xC3\x9F"
                          "e \xE2\x82\xAC \xF0\x9F\x93\x84"));
    EXPECT_FALSE(
        mime::IsValidUtf8("Gr\xFC\xDF"
                          "e"));                      // Latin-1
    EXPECT_FALSE(mime::IsValidUtf8("\xC0\xAF"));      // an overlong "/"
    EXPECT_FALSE(mime::IsValidUtf8("\xED\xA0\x80"));  // a surrogate
    EXPECT_EQ(mime::RepairUtf8("Gr\xFC\xDF"
                               "e"),
              "Gr\xEF\xBF\xBD\xEF\xBF\xBD"
              "e");
    TempDir dir;
    MimeMessage m;
    m.setHeader("Subject",
                "Gr\xFC\xDF"
                "e");
    m.setBody("caf\xE9\n");
    const auto parsed = ParseMessage(Compose(m, dir.path()));
    EXPECT_EQ(parsed.header("Subject"),
              "Gr\xEF\xBF\xBD\xEF\xBF\xBD"
              "e");
    std::string body = parsed.body;
    body.erase(std::remove(body.begin(), body.end(), '\r'), body.end());
    EXPECT_EQ(body, "caf\xEF\xBF\xBD\n");
}
