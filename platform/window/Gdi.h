#pragma once
// Small owners for GDI objects and device contexts: each releases what it
// holds exactly once, copies are impossible, moves hand ownership over.
#include "Twips.h"

#include <windows.h>

#include <string>
#include <utility>

namespace arc {

template <typename H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    void Reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

struct FontDesc {
    // A constructor rather than member initialisers: GCC 12 warns wrongly
    // about tables of descriptions that leave the font at its default.
    FontDesc(std::wstring face = L"MS Sans Serif", double points = 8.25, bool bold = false, bool italic = false)
        : face(std::move(face)), points(points), bold(bold), italic(italic) {}
    std::wstring face;
    double points;
    bool bold;
    bool italic;
};

// Creates the font at the device's resolution.  Faces the system lacks are
// replaced by the font mapper with a close equivalent.
Font MakeFont(const FontDesc& desc, const TwipsScale& scale);

// Selects an object into a DC for the lifetime of this value.
class SelectIn {
public:
    SelectIn(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectIn() { SelectObject(dc_, old_); }
    SelectIn(const SelectIn&) = delete;
    SelectIn& operator=(const SelectIn&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's DC from GetDC, released on destruction.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

}  // namespace arc
