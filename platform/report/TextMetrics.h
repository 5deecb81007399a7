#pragma once
// Text measurement for report layout, independent of any device: the
// advance widths of Arial, which are those of the PDF standard font
// Helvetica (regular and bold), for the characters of the Windows ANSI set.
// "Arial Narrow" is the same design at 82% of the width.  Layout, screen,
// printer and PDF therefore agree on where every line breaks.
#include "ReportModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace arc::report {

// The character in the Windows ANSI (1252) set, which is also the PDF's
// WinAnsiEncoding; '?' for a character outside it.
unsigned char ToWinAnsi(wchar_t c);
// The text with one "?" for every character outside that set.
std::wstring InWinAnsi(std::wstring_view text);

bool IsNarrow(const TextStyle& style);

// Width of a text on one line, in twips.
double TextWidth(std::wstring_view text, const TextStyle& style);
// Distance between two baselines and from a line's top to its baseline, in twips.
int LineHeight(const TextStyle& style);
int Ascent(const TextStyle& style);

// The lines a text takes in a box of this width: hard breaks at CR LF, LF
// or CR (empty lines kept) and soft breaks at spaces.  A word wider than the
// box is broken between characters when breakWords is set, and otherwise
// kept whole on its own line (to be cut at the box's edge, as GDI's word
// break does).  An empty text is one empty line.
std::vector<std::wstring> WrapLines(std::wstring_view text, int width, const TextStyle& style,
                                    bool breakWords = true);

}  // namespace arc::report
