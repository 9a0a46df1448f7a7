#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vexo {

// Texts of the program are Windows-1254 texts; these functions give the twelve Turkish letters their
// own rules (upper case with dotted and dotless I, plain-letter forms, a sort key), make names safe for
// files and codes, and cut texts into words.
//
// "Upper-casing" of the code page means: a-z become A-Z and every lower-case letter of Windows-1254
// becomes its capital when the code page has that capital (à→À, š→Š, ÿ→Ÿ, ğ→Ğ, ş→Ş, ı→I); ß, µ and ƒ,
// whose capitals the code page lacks, and every character outside the code page stay as they are.
// None of these case rules ever changes the length of a text.

// Turkish upper case: i→İ, ı→I, then the code page's upper-casing.
// Removes the blanks at both ends; a tab or line end belongs to the text.
QString trimBlanks(const QString &text);

QString TRUPPER(const QString &text);
// The same result as TRUPPER; kept apart because callers use both names.
QString TRUPPERQV(const QString &text);

// Each of ç ğ ı ö ş ü Ç Ğ İ Ö Ş Ü replaced by its plain Latin letter (ç→c, İ→I ...); same length.
QString TRENDIRECT2(const QString &text);
QString TRENDIRECT(const QString &text);
// The code page's upper-casing (i→I), then every Turkish letter replaced by its plain capital.
QString TRENUPPER(const QString &text);
// Sort key: upper-cased (i→I), each of Ç Ğ İ Ö Ş Ü written as its base capital followed by "[", so that
// "ÇAM" ("C[AM") sorts after every "C..." word and before "D". Longer than the text when it has any.
QString TURKCE(const QString &text);
// Each Turkish letter replaced by its byte in the Turkish console code page (CP857), that byte standing
// for the character Windows-1254 gives it: writing the result through the file codec yields the
// console bytes (ş→0x9F "Ÿ", Ç→0x80 "€" ...).
QString TRDIRECT(const QString &text);

// The text without blanks at both ends, with each of | : . \ * / < > replaced by "_".
QString CHRCONT(const QString &text);
// The text without blanks at both ends, with the blank, the double quote and each of
// ~ ` ! @ # $ % ^ & * ( ) + \ - | / = ? . , < > ' ; : [ ] { } replaced by "_".
QString CHRCONTAMPLE(const QString &text);
// The path with its base name (between the last "/" or "\" and a three-letter extension) passed through
// CHRCONT and TRUPPERQV; folder and extension are kept as they are.
QString SCHARFROMBASE(const QString &path);

// The plain text a rich-text editor holds after the text was pasted into it with the given font: the
// same characters, each line break (CR LF, CR or LF) written as CR LF.
QString TEXT2RTF(const QString &text, const QString &fontName, int pointSize);

// Ascending 1-based positions of the characters of separators in text.
QList<int> ASEPPOSINSTR(const QString &text, const QString &separators);
// Words cut after every separator character, each keeping its separator; the rest after the last
// separator is the last word. A text without any separator gives no words at all.
QStringList STRING2ARRAYUSINGSEPS(const QString &text, const QString &separators);
// The words spread over n texts, floor(words/n) words each, the rest in the last text; empty when there
// are fewer than two words or n is outside 2..number of words.
QStringList SPLITARRAYASASTRING(const QStringList &words, int n);
// The pieces between occurrences of separator; a trailing piece that is empty or blank is dropped.
QStringList QVSTRING2ARRAY(const QString &text, const QString &separator);

// Sorting "with Turkish upper-casing": the TRUPPER forms of both texts compared by their Windows-1254
// bytes (characters outside the code page after all bytes, by code point). Negative, zero or positive.
int compareTurkish(const QString &a, const QString &b);
bool turkishLess(const QString &a, const QString &b);

} // namespace vexo
