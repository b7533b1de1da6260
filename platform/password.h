// The stored form of the SMTP password: never the plain text. Each byte of the password's UTF-8
// form becomes two characters 0-9A-F (the byte XOR a key byte that depends on its position).
#pragma once

#include <string>

namespace vellumo::platform {

// The stored text holds at most 255 characters, so a password has at most 127 bytes.
inline constexpr size_t kMaxPasswordLength = 127;

// The stored form of a password. A longer password is cut to its first 127 bytes (never inside
// a UTF-8 sequence), so what is stored always reveals to a valid prefix.
std::string ObscurePassword(const std::string& password);
// The password from its stored form; "" when the text is not a stored form: odd length, longer
// than 254 characters, a character outside 0-9A-F (a-f are accepted too), a zero byte or bytes
// that are not UTF-8. A damaged value reveals nothing rather than garbage.
std::string RevealPassword(const std::string& stored);

}  // namespace vellumo::platform
