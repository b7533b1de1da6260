// The MIME composer: builds one standard Internet message (RFC 5322 headers, MIME structure of
// RFC 2045/2046/2047/2231) with a UTF-8 text body and any number of attached files, and writes
// it to a file with CRLF line ends, ready for an SMTP DATA transfer. Attachments are streamed
// from their files while writing, so memory does not grow with the size of a scanned PDF.
//
// The free functions at the end are the library interface the send sequence calls step by
// step (start, new message, header, option, body, attach, write, shut down); they keep the
// messages in a handle table until the library is shut down.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vellumo::mail {

// Message option: stamp "Date" and "Message-ID" when the message is written (value 1) unless
// the caller set those header fields itself. Off (0) by default.
constexpr int kMimeOptionDateAndMessageId = 0;

class MimeMessage {
public:
    // Sets (or replaces, by case-insensitive name) a header field. Line breaks and control
    // characters in the value are turned into spaces, so a value can never start a new field.
    // False for a name that is not a valid field name, or for a field the composer owns
    // ("MIME-Version", "Content-*").
    bool setHeader(const std::string& name, const std::string& value);
    void setOption(int option, int value);
    // The plain-text body, UTF-8, any line ends.
    void setBody(const std::string& text);
    // Adds a file as attachment under its own file name. False when the file is not a
    // readable regular file.
    bool attachFile(const std::string& path);

    // Writes the composed message. False when anything could not be read or written (an
    // attachment that vanished, a full disk); the file is then incomplete.
    bool writeToFile(const std::string& path) const;

private:
    struct Header {
        std::string name;
        std::string value;
    };
    struct Attachment {
        std::string path;
        std::string fileName;
    };
    const Header* findHeader(const std::string& name) const;

    std::vector<Header> headers_;
    std::string body_;
    std::vector<Attachment> attachments_;
    bool dateAndMessageId_ = false;
};

// Encoders the composer is built from, exposed for the tests.
namespace mime {
// Base64 of a block of bytes, without line breaks.
std::string Base64(const std::string& bytes);
// Quoted-printable lines (CRLF, at most 76 characters) of text that already has CRLF line
// ends. A line's leading "." and "From " are encoded too, so no line can end the SMTP data or
// be mangled by mailbox tools.
std::string QuotedPrintable(const std::string& crlfText);
// Normalises CR, LF and CRLF line ends to CRLF.
std::string ToCrlf(const std::string& text);
// "Name: value" folded to lines of at most 78 characters with CRLF, non-ASCII text as RFC 2047
// encoded words (address fields: only the display names), ending in CRLF. A word of other
// fields too long for a line becomes encoded words as well, so that it can be folded.
std::string FormatHeader(const std::string& name, const std::string& value);
// A list of addresses separated by "," or ";" (outside quotes and angle brackets) as a header
// wants it: the addresses separated by ", ", blanks around them and empty entries dropped.
std::string NormaliseAddressList(const std::string& list);
// True when text is well-formed UTF-8.
bool IsValidUtf8(const std::string& text);
// text with every byte that is not part of a well-formed UTF-8 character replaced by U+FFFD.
std::string RepairUtf8(const std::string& text);
// An attachment's file name as a MIME parameter, starting with ";" and a fold: quoted for short
// ASCII names; otherwise RFC 2231 sections, except "name", which gets RFC 2047 encoded words
// (the form mail clients read in Content-Type).
std::string FileNameParameter(const std::string& parameter, const std::string& fileName);
// RFC 5322 date-time of a moment in the local time zone ("Tue, 08 Dec 2026 03:34:01 +0100").
std::string FormatDate(std::int64_t unixTime);
// The MIME type the composer declares for a file name, by its extension.
std::string ContentTypeForFile(const std::string& fileName);
}  // namespace mime

// Library interface over MimeMessage. Handles are positive; -1 means failure.
bool MimeInitialize();
int MimeCreateMessage();
bool MimeSetHeader(int message, const std::string& name, const std::string& value);
void MimeSetOption(int message, int option, int value);
void MimeSetBody(int message, const std::string& text);
// Non-zero on success, 0 when the file cannot be attached (unknown message, unreadable file).
int MimeAttachFile(int message, const std::string& path, int flags);
// True when the whole message was written.
bool MimeWriteToFile(int message, const std::string& path);
// Releases every message; harmless when not started.
void MimeShutdown();

}  // namespace vellumo::mail
