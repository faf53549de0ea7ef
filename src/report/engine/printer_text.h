#pragma once
// Texts on their way to a text printer (or a plain-text file): from UTF-8
// to single-byte printer bytes.
#include <string>
#include <string_view>

#include "report/engine/report_types.h"

namespace nfp {

// Windows-1252 bytes with accented letters replaced by their plain letter
// (º ª become o a; ¼ ½ ¾ § a blank).
std::string RemoveAccents(std::string_view windows1252);

// Windows-1252 to code page 850, byte for byte. Letters and signs that
// code page 850 lacks become a close ASCII sign; unassigned bytes become "?".
std::string Windows1252ToCp850(std::string_view windows1252);

// Box-drawing codes ("=", "-", "I", "i", "A" ... "+") to code page 437
// bytes; other characters unchanged.
std::string BoxCodesToCp437(std::string_view codes);

// UTF-8 (or stray Windows-1252) to Windows-1252 bytes, "?" for characters
// it cannot hold.
std::string ToWindows1252Lossy(std::string_view text);

// The accent handling of a text model: SemAcento or Rima remove accents,
// Transliterate converts to the printer code page, Grafico keeps the text.
std::string ApplyAccentHandling(std::string_view windows1252, TAcento acento, TModelo model);

// The whole conversion of an item's text for printer output.
std::string PrinterBytes(std::string_view utf8Text, char kind, TAcento acento, TModelo model);

} // namespace nfp
