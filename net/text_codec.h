#pragma once

// Names and chat text travel, and the records file is stored, in code page
// 932: Shift-JIS as Japanese Windows writes it (0x5C is the backslash, 0x8160
// the full-width tilde, with the NEC and IBM extensions). Keywords, blanks
// and digits are ASCII and come out unchanged.
//
// The converter comes from ICU through QtCore; Debian's Qt is built with it.

#include <QByteArray>
#include <QByteArrayView>
#include <QStringDecoder>
#include <QStringView>

namespace vexa::net {

// The converter's name as Qt (ICU) knows it.
inline constexpr char kCodePage932[] = "windows-31j";

// Whole text to bytes. A character that code page 932 lacks becomes '?', as
// a Windows program writes it.
QByteArray EncodeText(QStringView text);

// Whole bytes to text. A lead byte without its trail byte at the end is
// dropped; other invalid bytes become replacement characters.
QString DecodeText(QByteArrayView bytes);

// Whether the text survives the way to code page 932 and back unchanged.
bool FitsCodePage932(QStringView text);

// A decoder for a stream of reads: a character split between two reads is
// completed with the next one.
QStringDecoder MakeStreamDecoder();

}  // namespace vexa::net
