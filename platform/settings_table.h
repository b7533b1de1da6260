// Every value the program keeps between runs: its exact name in the settings store and the
// default a reader gets while it is missing. The one list of names and defaults.
#pragma once

namespace vellumo::platform {

enum class SettingKind { Integer, Text };

struct IntSetting {
    const char* name;
    int defaultValue;
    // "PageSize" has no fixed default: readers pass the printer-derived page size instead.
    bool printerDerived = false;
};

struct TextSetting {
    const char* name;
    const char* defaultValue;
};

struct SettingDef {
    constexpr SettingDef(const IntSetting& s)
        : name(s.name),
          kind(SettingKind::Integer),
          intDefault(s.defaultValue),
          textDefault(""),
          printerDerived(s.printerDerived) {}
    constexpr SettingDef(const TextSetting& s)
        : name(s.name), kind(SettingKind::Text), intDefault(0), textDefault(s.defaultValue) {}
    const char* name;
    SettingKind kind;
    int intDefault;
    const char* textDefault;
    bool printerDerived = false;
};

namespace setting {

// Scanning
inline constexpr IntSetting nType{"nType", 0};  // 0 black and white, 1 grey, 2 colour
inline constexpr TextSetting ResBW{"ResBW", "300"};
inline constexpr TextSetting ResGrey{"ResGrey", "150"};
inline constexpr TextSetting ResColor{"ResColor", "150"};
inline constexpr IntSetting nBright{"nBright", 3};          // 0 bright end .. 6 dark end
inline constexpr IntSetting PageSize{"PageSize", 0, true};  // 0 Letter, 1 A4, 2 Legal, 3 A3
inline constexpr IntSetting Preview{"Preview", 1};
inline constexpr IntSetting AutoCrop{"AutoCrop", 0};
inline constexpr IntSetting ADF{"ADF", 0};  // 1: the feeder is not used
inline constexpr IntSetting Duplex{"Duplex", 0};
inline constexpr IntSetting Invert{"Invert", 0};
// Page clean-up of every scanned page
inline constexpr IntSetting Deskew{"Deskew", 1};
// On only while Tesseract's orientation data is installed.
inline constexpr IntSetting AutoRotate{"AutoRotate", 1};
inline constexpr IntSetting BlankPages{"BlankPages", 1};  // 0 off, 1 mark, 2 drop
// PDF
inline constexpr IntSetting Compress{"Compress", 1};
inline constexpr TextSetting ComprPerc{"ComprPerc", "100"};
// Text recognition. Their real defaults depend on the installed languages, so readers pass
// ocr::DefaultOcrSetting() and ocr::DefaultOcrLanguages() (1 and "eng" when English is there).
inline constexpr IntSetting OCR{"OCR", 1};                         // 1: PDFs get a text layer
inline constexpr TextSetting OCRLanguages{"OCRLanguages", "eng"};  // e.g. "eng+deu"
// Diagnostics
inline constexpr IntSetting LogFile{"LogFile", 0};
// Mail
inline constexpr IntSetting ViaSMTP{"ViaSMTP", 1};
inline constexpr TextSetting ForwardAddress{"ForwardAddress", ""};
inline constexpr TextSetting SmtpServer{"SMTP Server", ""};
inline constexpr TextSetting SmtpPort{"SMTP Port", "25"};
inline constexpr TextSetting SmtpUserId{"SMTP User-id", ""};
inline constexpr TextSetting SmtpPassword{"SMTP Password", ""};  // obscured form
inline constexpr TextSetting SmtpEmailAddress{"SMTP Email address", ""};
// Devices and folders
inline constexpr TextSetting CurrentDevice{"CurrentDevice", ""};
inline constexpr TextSetting CurrentDir{"CurrentDir", ""};
inline constexpr TextSetting CurrentDirSave{"CurrentDirSave", ""};
inline constexpr IntSetting LastFileType{"LastFileType", 0};
// Another instance's main window, for the "/GO" start-up switch (missing counts as 0).
inline constexpr IntSetting ActiveWnd{"ActiveWnd", 0};
// Main window placement
inline constexpr IntSetting WpShowCmd{"wp.showCmd", 5};
inline constexpr IntSetting WpMinX{"wp.ptMinPosition.x", 0};
inline constexpr IntSetting WpMinY{"wp.ptMinPosition.y", 0};
inline constexpr IntSetting WpMaxX{"wp.ptMaxPosition.x", 0};
inline constexpr IntSetting WpMaxY{"wp.ptMaxPosition.y", 0};
inline constexpr IntSetting WpLeft{"wp.left", 0};
inline constexpr IntSetting WpTop{"wp.top", 0};
inline constexpr IntSetting WpRight{"wp.right", 530};
inline constexpr IntSetting WpBottom{"wp.bottom", 390};

}  // namespace setting

inline constexpr SettingDef kSettingsTable[] = {
    setting::nType,          setting::ResBW,        setting::ResGrey,
    setting::ResColor,       setting::nBright,      setting::PageSize,
    setting::Preview,        setting::AutoCrop,     setting::ADF,
    setting::Duplex,         setting::Invert,       setting::Compress,
    setting::ComprPerc,      setting::LogFile,      setting::ViaSMTP,
    setting::ForwardAddress, setting::SmtpServer,   setting::SmtpPort,
    setting::SmtpUserId,     setting::SmtpPassword, setting::SmtpEmailAddress,
    setting::CurrentDevice,  setting::CurrentDir,   setting::CurrentDirSave,
    setting::LastFileType,   setting::ActiveWnd,    setting::WpShowCmd,
    setting::WpMinX,         setting::WpMinY,       setting::WpMaxX,
    setting::WpMaxY,         setting::WpLeft,       setting::WpTop,
    setting::WpRight,        setting::WpBottom,     setting::Deskew,
    setting::AutoRotate,     setting::BlankPages,   setting::OCR,
    setting::OCRLanguages,
};

// The longest folder the file dialogs keep as their initial folder ("CurrentDir",
// "CurrentDirSave").
inline constexpr int kMaxFolderLength = 259;

}  // namespace vellumo::platform
