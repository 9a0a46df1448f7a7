#pragma once

#include <QString>

namespace vexo {

// The keyed scramble of character fields and settings. Under one key it is its own inverse:
// Crypt(Crypt(s, k), k) == s. It maps the printable Windows-1254 characters other than "[" and "="
// onto one another, so a scrambled text never holds NUL, CR, LF or the INI file's "[" and "=";
// characters outside that set (controls, "[", "=", and what the code page lacks) pass unchanged.
// Every character keeps its place, so the length never changes.
QString Crypt(const QString &text, const QString &key);

// The characters the scramble works on, in its fixed order.
const QString &cryptAlphabet();

} // namespace vexo
