// The product's name, version and the maker's addresses, in one place for everything that shows
// them: the log's first line, the about dialog and the document information of every PDF. No Qt,
// so the PDF writer and the command-line front end use it too.
#pragma once

namespace vellumo::platform {

inline constexpr char kProductName[] = "Vellumo";
inline constexpr char kProductVersion[] = "3.07";
// The maker's web site and mail address, without a trailing slash or a "mailto:".
inline constexpr char kProductWebAddress[] = "https://vellumo.org";
inline constexpr char kProductMailAddress[] = "support@vellumo.org";

}  // namespace vellumo::platform
