#pragma once
// The core speaks UTF-8 std::string, the controls QString: the three
// conversions every window makes, under the short names they are read by.

#include <QString>

#include <string>

namespace tarvex {

inline QString u(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string s(const QString& texte) { return texte.toStdString(); }

}  // namespace tarvex
