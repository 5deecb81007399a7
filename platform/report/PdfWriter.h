#pragma once
// A report as a PDF 1.4 file of our own making: one PDF page per report
// page, the sheet's size, text in the standard fonts Helvetica and
// Helvetica-Bold (Arial's metrics) in WinAnsiEncoding, so that Spanish
// letters print, placed by the same layout as the screen and the printer;
// lines, frames, fills, polylines and text colours as vector paths.
// "Arial Narrow" is Helvetica at 82% horizontal scale.
#include "Layout.h"

#include <string>

namespace arc::report {

// The whole document as bytes.
std::string PdfDocument(const Layout& layout);

// Writes the document to a file, replacing it.  Raises RuntimeError 75
// ("Path/File access error") when the file cannot be written.
void WritePdf(const Layout& layout, const std::wstring& path);

}  // namespace arc::report
