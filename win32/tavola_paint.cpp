// Painting Tavola: the gradient from the stored draws, the labels, the graphical buttons and
// the image. Everything is drawn from state at every WM_PAINT or WM_DRAWITEM, so covering
// and uncovering the window never loses anything.
#include <algorithm>
#include <cmath>

#include "layout/contrast.h"
#include "layout/gradient_bands.h"
#include "win32/dpi.h"
#include "system/wide_text_windows.h"
#include "win32/tavola.h"

namespace brivana::win32 {

namespace {

using namespace layout;

COLORREF Colour(const Rgb& rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

COLORREF TextColour(const ControlSpec& row)
{
    return row.text ? Colour(*row.text) : GetSysColor(COLOR_WINDOWTEXT);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    const OwnedBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

Rgb ToRgb(COLORREF colour) { return Rgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

}  // namespace

void Tavola::PaintSurface(HDC dc, POINT origin, const RECT& area) const
{
    // origin is where the DC's (0, 0) lies in the window's client area.
    if (!draws_) {
        Fill(dc, area, RGB(0, 0, 0));
        return;
    }
    RECT client;
    GetClientRect(hwnd_, &client);
    const int height = client.bottom;
    for (int band = 0; band < kBands; ++band) {
        RECT rect{area.left, BandTop(band, height) - origin.y, area.right, BandTop(band + 1, height) - origin.y};
        if (band == kBands - 1) rect.bottom = std::max(rect.bottom, area.bottom);
        rect.top = std::max(rect.top, area.top);
        rect.bottom = std::min(rect.bottom, area.bottom);
        if (rect.top >= rect.bottom) continue;
        Fill(dc, rect, Colour(BandColour(draws_->first, draws_->second, band)));
    }
}

void Tavola::DrawLabel(const DRAWITEMSTRUCT& item, const Control& label) const
{
    const ControlSpec& row = *label.row;
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    POINT origin{0, 0};
    MapWindowPoints(item.hwndItem, hwnd_, &origin, 1);
    if (row.back)
        Fill(dc, rect, Colour(*row.back));
    else
        PaintSurface(dc, origin, rect);

    const COLORREF colour = TextColour(row);
    if (row.frame == Frame::single) {
        const int line = ScaledPixels(1, dpi_);
        const OwnedBrush brush(CreateSolidBrush(colour));
        for (int i = 0; i < line; ++i) {
            FrameRect(dc, &rect, brush.get());
            InflateRect(&rect, -1, -1);
        }
    }

    const std::wstring shown = Wide(ShownLines(label.caption));
    UINT format = DT_NOPREFIX | DT_TOP | (row.align == Align::centred ? DT_CENTER : DT_LEFT);
    if (WrapsAtSpaces(row.fit)) format |= DT_WORDBREAK;
    if (label.cut) format |= DT_END_ELLIPSIS | DT_SINGLELINE;
    const Selection font(dc, label.font.get());
    SetBkMode(dc, TRANSPARENT);
    RECT client;
    GetClientRect(hwnd_, &client);
    const int rows = item.rcItem.bottom - item.rcItem.top;
    const std::optional<Rgb> halo =
        row.back ? std::nullopt : LabelHaloColour(ToRgb(colour), draws_, origin.y, rows, client.bottom);
    if (halo) {
        // Where the text would not stand out from the band behind it, a thin outline that
        // does: the text shifted one step in each of eight directions, in the halo's colour.
        SetTextColor(dc, Colour(*halo));
        const int step = ScaledPixels(1, dpi_);
        for (int dx = -step; dx <= step; dx += step) {
            for (int dy = -step; dy <= step; dy += step) {
                if (dx == 0 && dy == 0) continue;
                RECT shifted = rect;
                OffsetRect(&shifted, dx, dy);
                DrawTextW(dc, shown.c_str(), -1, &shifted, format);
            }
        }
    }
    SetTextColor(dc, colour);
    DrawTextW(dc, shown.c_str(), -1, &rect, format);
}

void Tavola::DrawButton(const DRAWITEMSTRUCT& item, const Control& button) const
{
    const ControlSpec& row = *button.row;
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool down = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    // The face keeps the design's colour in every state; the focus shows as a focus frame.
    const COLORREF face = row.back ? Colour(*row.back) : GetSysColor(COLOR_BTNFACE);
    Fill(dc, rect, face);
    DrawEdge(dc, &rect, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    const int margin = ScaledPixels(4, dpi_);
    RECT area = rect;
    InflateRect(&area, -margin, -margin);
    if (down) OffsetRect(&area, 1, 1);
    const Selection font(dc, button.font.get());
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const RECT captionArea{area.left, area.bottom - metrics.tmHeight, area.right, area.bottom};

    // The design's picture, or its pressed or disabled one where it has them.
    const std::string base(row.picture);
    HICON picture = pictures_.find(base);
    if (HICON state = pictures_.find(base + (disabled ? "-disabled" : "-pressed")); state && (disabled || down))
        picture = state;
    if (picture) {
        const int size = ScaledPixels(32, dpi_);
        const int x = (area.left + area.right - size) / 2;
        const int y = (area.top + captionArea.top - size) / 2;
        DrawIconEx(dc, x, y, picture, size, size, 0, nullptr, DI_NORMAL);
    }
    SetBkMode(dc, TRANSPARENT);
    const Rgb caption = disabled ? DisabledCaptionColour(ToRgb(face)) : ToRgb(TextColour(row));
    SetTextColor(dc, RGB(caption.red, caption.green, caption.blue));
    RECT text = captionArea;
    DrawTextW(dc, Wide(row.caption).c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    if (item.itemState & ODS_FOCUS) {
        RECT focus = rect;
        InflateRect(&focus, -(margin - 1), -(margin - 1));
        DrawFocusRect(dc, &focus);
    }
}

void Tavola::DrawImage(const DRAWITEMSTRUCT& item, const Control& image) const
{
    POINT origin{0, 0};
    MapWindowPoints(item.hwndItem, hwnd_, &origin, 1);
    PaintSurface(item.hDC, origin, item.rcItem);
    const int size = ScaledPixels(32, dpi_);
    if (HICON picture = pictures_.find(image.row->picture))
        DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, picture, size, size, 0, nullptr, DI_NORMAL);
}

}  // namespace brivana::win32
