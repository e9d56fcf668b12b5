// The program's pictures. Own drawings are made on a 16-unit grid, one colour
// layer at a time: each layer's shapes are drawn white on black into an
// opaque bitmap, whose brightness then serves as that colour's coverage over
// a transparent image. This keeps the edges smooth and the background
// transparent whatever the device context does with alpha.
#include "ui/icons.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "ui/wxtext.h"
#include "core/commandids.h"

namespace {

enum class EGlyph {
    Generic,
    Folder,
    Player,
    List,
    Panels,
    Play,
    Pause,
    Stop,
    Reset,
    Volume,
    Download,
    Error,
    Information,
    Warning,
    Application,
    Book,
    Globe,
    Pointer,
    Skip,
    Target,
    Cloud,
    Plus,
    Minus,
    Subtitle,
    Paragraph,
    Bilingual,
    FontFace,
    FontSize,
    Bold,
    Italic,
    Underline,
    FontColor,
    BackColor,
    Forward,
    Backward,
    Edit,
    Check,
    Cross,
    Tag,
    Sort,
    Search,
    Dice,
    TextTile,
    Export,
    Import,
    Delete,
    Pencil,
    Chart,
    Microphone,
    Record,
    Replay,
    Help,
    Update,
    Palette,
};

struct SPicture {
    EGlyph glyph = EGlyph::Generic;
    const char* art = nullptr;  // stock art id, or null to always draw
    const char* text = "";      // the characters of a text tile
    wxColour colour = wxColour(90, 120, 170);
};

// ---- Drawing -------------------------------------------------------------

class CIconCanvas {
public:
    explicit CIconCanvas(int size) : m_size(size), m_image(size, size)
    {
        m_image.InitAlpha();
        std::fill_n(m_image.GetData(), size * size * 3, 0);
        std::fill_n(m_image.GetAlpha(), size * size, 0);
    }

    // Paints `colour` wherever `draw` paints, `draw` working in 16 units.
    template <class Draw>
    void Layer(const wxColour& colour, Draw draw)
    {
        wxBitmap coverage(m_size, m_size, 24);
        {
            wxMemoryDC dc(coverage);
            dc.SetBackground(*wxBLACK_BRUSH);
            dc.Clear();
            dc.SetUserScale(m_size / 16.0, m_size / 16.0);
            dc.SetPen(*wxWHITE_PEN);
            dc.SetBrush(*wxWHITE_BRUSH);
            dc.SetTextForeground(*wxWHITE);
            draw(dc);
            dc.SelectObject(wxNullBitmap);
        }
        const wxImage mask = coverage.ConvertToImage();
        const unsigned char* cov = mask.GetData();
        unsigned char* rgb = m_image.GetData();
        unsigned char* alpha = m_image.GetAlpha();
        const int layerAlpha = colour.Alpha();
        for (int i = 0; i < m_size * m_size; ++i) {
            const double a = cov[i * 3] / 255.0 * layerAlpha / 255.0;
            if (a <= 0)
                continue;
            const double under = alpha[i] / 255.0;
            const double out = a + under * (1 - a);
            const unsigned char layer[3] = {colour.Red(), colour.Green(), colour.Blue()};
            for (int c = 0; c < 3; ++c) {
                const double mixed = (layer[c] * a + rgb[i * 3 + c] * under * (1 - a)) / out;
                rgb[i * 3 + c] = static_cast<unsigned char>(std::lround(mixed));
            }
            alpha[i] = static_cast<unsigned char>(std::lround(out * 255));
        }
    }

    // Centred text of the given height (in 16 units).
    void Text(const wxColour& colour, const wxString& text, int height, bool bold = true, bool italic = false,
              int dy = 0)
    {
        Layer(colour, [&](wxDC& dc) {
            wxFontInfo info(wxSize(0, height));
            info.Family(wxFONTFAMILY_SWISS).Bold(bold).Italic(italic);
            dc.SetFont(wxFont(info));
            const wxSize extent = dc.GetTextExtent(text);
            dc.DrawText(text, (16 - extent.x) / 2, (16 - extent.y) / 2 + dy);
        });
    }

    wxBitmap ToBitmap() const { return wxBitmap(m_image); }

private:
    int m_size;
    wxImage m_image;
};

const wxColour kOutline(60, 60, 60);
const wxColour kBlue(50, 110, 200);
const wxColour kDarkBlue(30, 60, 120);
const wxColour kGreen(40, 160, 70);
const wxColour kRed(210, 50, 50);
const wxColour kYellow(245, 195, 50);
const wxColour kOrange(240, 140, 30);
const wxColour kGrey(140, 140, 140);
const wxColour kWhite(255, 255, 255);

wxPoint P(int x, int y) { return wxPoint(x, y); }

void Polygon(wxDC& dc, std::initializer_list<wxPoint> points)
{
    const std::vector<wxPoint> v(points);
    dc.DrawPolygon(static_cast<int>(v.size()), v.data());
}

void ThickLine(wxDC& dc, int x1, int y1, int x2, int y2, int width)
{
    dc.SetPen(wxPen(*wxWHITE, width, wxPENSTYLE_SOLID));
    dc.DrawLine(x1, y1, x2, y2);
}

void Ring(wxDC& dc, int cx, int cy, int r, int width)
{
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(*wxWHITE, width));
    dc.DrawCircle(cx, cy, r);
}

void CircularArrow(CIconCanvas& c, const wxColour& colour)
{
    c.Layer(colour, [](wxDC& dc) {
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.SetPen(wxPen(*wxWHITE, 2));
        dc.DrawEllipticArc(2, 2, 12, 12, 100, 400);
        dc.SetPen(*wxWHITE_PEN);
        dc.SetBrush(*wxWHITE_BRUSH);
        Polygon(dc, {P(5, 0), P(10, 3), P(5, 6)});
    });
}

void Arrow(wxDC& dc, bool down)
{
    if (down) {
        dc.DrawRectangle(6, 1, 4, 7);
        Polygon(dc, {P(2, 7), P(14, 7), P(8, 13)});
    } else {
        dc.DrawRectangle(6, 6, 4, 7);
        Polygon(dc, {P(2, 7), P(14, 7), P(8, 1)});
    }
}

void PaintGlyph(CIconCanvas& c, const SPicture& pic)
{
    switch (pic.glyph) {
    case EGlyph::Folder:
        c.Layer(wxColour(200, 140, 30), [](wxDC& dc) {
            dc.DrawRoundedRectangle(1, 2, 7, 4, 1);
            dc.DrawRoundedRectangle(1, 4, 14, 10, 1);
        });
        c.Layer(kYellow, [](wxDC& dc) { Polygon(dc, {P(4, 7), P(16, 7), P(13, 14), P(1, 14)}); });
        break;
    case EGlyph::Player:
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRoundedRectangle(0, 2, 16, 11, 1);
            dc.DrawRectangle(5, 13, 6, 2);
        });
        c.Layer(kBlue, [](wxDC& dc) { dc.DrawRectangle(1, 3, 14, 9); });
        c.Layer(kWhite, [](wxDC& dc) { Polygon(dc, {P(6, 5), P(11, 7), P(6, 10)}); });
        break;
    case EGlyph::List:
        c.Layer(kBlue, [](wxDC& dc) {
            for (int y : {2, 7, 12}) dc.DrawRectangle(1, y, 3, 3);
        });
        c.Layer(kOutline, [](wxDC& dc) {
            for (int y : {3, 8, 13}) dc.DrawRectangle(6, y, 9, 2);
        });
        break;
    case EGlyph::Panels:
        c.Layer(kOutline, [](wxDC& dc) { dc.DrawRectangle(1, 2, 14, 12); });
        c.Layer(kWhite, [](wxDC& dc) { dc.DrawRectangle(2, 7, 12, 6); });
        c.Layer(kBlue, [](wxDC& dc) {
            dc.DrawRectangle(2, 3, 12, 3);
            Polygon(dc, {P(5, 9), P(11, 9), P(8, 12)});
        });
        break;
    case EGlyph::Play:
        c.Layer(kGreen, [](wxDC& dc) { Polygon(dc, {P(3, 1), P(14, 8), P(3, 15)}); });
        break;
    case EGlyph::Pause:
        c.Layer(kBlue, [](wxDC& dc) {
            dc.DrawRectangle(3, 2, 4, 12);
            dc.DrawRectangle(9, 2, 4, 12);
        });
        break;
    case EGlyph::Stop:
        c.Layer(kRed, [](wxDC& dc) { dc.DrawRoundedRectangle(2, 2, 12, 12, 1); });
        break;
    case EGlyph::Reset:
        CircularArrow(c, kOrange);
        c.Layer(kOrange, [](wxDC& dc) { dc.DrawCircle(8, 8, 2); });
        break;
    case EGlyph::Volume:
        c.Layer(kOutline, [](wxDC& dc) {
            Polygon(dc, {P(1, 5), P(4, 5), P(8, 1), P(8, 15), P(4, 11), P(1, 11)});
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.SetPen(wxPen(*wxWHITE, 1));
            dc.DrawEllipticArc(6, 5, 5, 6, -60, 60);
            dc.DrawEllipticArc(5, 2, 9, 12, -60, 60);
        });
        break;
    case EGlyph::Download:
        c.Layer(kGreen, [](wxDC& dc) { Arrow(dc, true); });
        c.Layer(kOutline, [](wxDC& dc) { dc.DrawRectangle(2, 14, 12, 2); });
        break;
    case EGlyph::Error:
        c.Layer(kRed, [](wxDC& dc) { dc.DrawCircle(8, 8, 7); });
        c.Layer(kWhite, [](wxDC& dc) {
            ThickLine(dc, 5, 5, 11, 11, 2);
            ThickLine(dc, 11, 5, 5, 11, 2);
        });
        break;
    case EGlyph::Information:
        c.Layer(kBlue, [](wxDC& dc) { dc.DrawCircle(8, 8, 7); });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.DrawRectangle(7, 3, 2, 2);
            dc.DrawRectangle(7, 6, 2, 7);
        });
        break;
    case EGlyph::Warning:
        c.Layer(wxColour(160, 110, 0), [](wxDC& dc) { Polygon(dc, {P(8, 0), P(16, 15), P(0, 15)}); });
        c.Layer(kYellow, [](wxDC& dc) { Polygon(dc, {P(8, 2), P(14, 14), P(2, 14)}); });
        c.Layer(wxColour(0, 0, 0), [](wxDC& dc) {
            dc.DrawRectangle(7, 5, 2, 5);
            dc.DrawRectangle(7, 11, 2, 2);
        });
        break;
    case EGlyph::Application:
        c.Layer(kDarkBlue, [](wxDC& dc) { dc.DrawRoundedRectangle(0, 0, 16, 16, 3); });
        c.Layer(kBlue, [](wxDC& dc) { dc.DrawRoundedRectangle(1, 1, 14, 14, 3); });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.DrawRectangle(4, 3, 2, 10);
            dc.DrawRectangle(4, 3, 7, 2);
            dc.DrawRectangle(4, 7, 6, 2);
            dc.DrawRectangle(4, 11, 7, 2);
        });
        c.Layer(kOrange, [](wxDC& dc) { dc.DrawCircle(12, 12, 2); });
        break;
    case EGlyph::Book:
        c.Layer(pic.colour, [](wxDC& dc) { dc.DrawRoundedRectangle(2, 1, 12, 14, 1); });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.DrawRectangle(4, 12, 10, 2);
            dc.DrawRectangle(6, 4, 6, 2);
        });
        break;
    case EGlyph::Globe:
        c.Layer(kBlue, [](wxDC& dc) { dc.DrawCircle(8, 8, 7); });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawEllipse(5, 1, 6, 14);
            dc.DrawLine(1, 8, 15, 8);
            dc.DrawLine(8, 1, 8, 15);
        });
        break;
    case EGlyph::Pointer:
        c.Layer(kOutline, [](wxDC& dc) { Polygon(dc, {P(3, 0), P(13, 10), P(8, 10), P(11, 16), P(9, 16), P(6, 11), P(3, 14)}); });
        c.Layer(kWhite, [](wxDC& dc) { Polygon(dc, {P(4, 3), P(10, 9), P(6, 9), P(4, 11)}); });
        break;
    case EGlyph::Skip:
        c.Layer(kGreen, [](wxDC& dc) {
            Polygon(dc, {P(1, 3), P(8, 8), P(1, 13)});
            Polygon(dc, {P(8, 3), P(15, 8), P(8, 13)});
        });
        break;
    case EGlyph::Target:
        c.Layer(kRed, [](wxDC& dc) {
            Ring(dc, 8, 8, 6, 2);
            dc.SetPen(*wxWHITE_PEN);
            dc.SetBrush(*wxWHITE_BRUSH);
            dc.DrawCircle(8, 8, 2);
        });
        break;
    case EGlyph::Cloud:
        c.Layer(wxColour(120, 170, 230), [](wxDC& dc) {
            dc.DrawCircle(5, 9, 4);
            dc.DrawCircle(10, 7, 5);
            dc.DrawRoundedRectangle(1, 9, 14, 5, 2);
        });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.DrawRectangle(7, 5, 2, 5);
            Polygon(dc, {P(5, 9), P(11, 9), P(8, 13)});
        });
        break;
    case EGlyph::Plus:
        c.Layer(kGreen, [](wxDC& dc) {
            dc.DrawRectangle(2, 6, 12, 4);
            dc.DrawRectangle(6, 2, 4, 12);
        });
        break;
    case EGlyph::Minus:
        c.Layer(kRed, [](wxDC& dc) { dc.DrawRectangle(2, 6, 12, 4); });
        break;
    case EGlyph::Subtitle:
        c.Layer(kOutline, [](wxDC& dc) { dc.DrawRectangle(0, 2, 16, 12); });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.DrawRectangle(3, 8, 10, 2);
            dc.DrawRectangle(5, 11, 6, 1);
        });
        break;
    case EGlyph::Paragraph:
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRectangle(4, 2, 11, 2);
            dc.DrawRectangle(1, 5, 14, 2);
            dc.DrawRectangle(1, 8, 10, 2);
            dc.DrawRectangle(4, 11, 11, 2);
            dc.DrawRectangle(1, 14, 8, 2);
        });
        break;
    case EGlyph::Bilingual:
        c.Layer(kBlue, [](wxDC& dc) {
            for (int y : {2, 8}) dc.DrawRectangle(1, y, 14, 2);
        });
        c.Layer(kRed, [](wxDC& dc) {
            for (int y : {5, 11}) dc.DrawRectangle(1, y, 10, 2);
        });
        break;
    case EGlyph::FontFace:
        c.Text(kOutline, "Aa", 11);
        break;
    case EGlyph::FontSize:
        c.Text(kOutline, "A", 13, true, false, 0);
        c.Layer(kBlue, [](wxDC& dc) {
            Polygon(dc, {P(13, 1), P(16, 5), P(10, 5)});
            Polygon(dc, {P(10, 11), P(16, 11), P(13, 15)});
        });
        break;
    case EGlyph::Bold:
        c.Text(kOutline, "B", 14);
        break;
    case EGlyph::Italic:
        c.Text(kOutline, "I", 14, true, true);
        break;
    case EGlyph::Underline:
        c.Text(kOutline, "U", 12, true, false, -1);
        c.Layer(kOutline, [](wxDC& dc) { dc.DrawRectangle(3, 14, 10, 2); });
        break;
    case EGlyph::FontColor:
        c.Text(kOutline, "A", 12, true, false, -2);
        c.Layer(kRed, [](wxDC& dc) { dc.DrawRectangle(1, 13, 14, 3); });
        break;
    case EGlyph::BackColor:
        c.Layer(kOutline, [](wxDC& dc) { Polygon(dc, {P(2, 6), P(8, 0), P(14, 6), P(8, 12)}); });
        c.Layer(kWhite, [](wxDC& dc) { Polygon(dc, {P(4, 6), P(8, 2), P(12, 6)}); });
        c.Layer(kYellow, [](wxDC& dc) { dc.DrawRectangle(1, 13, 14, 3); });
        break;
    case EGlyph::Forward:
        c.Layer(kGreen, [](wxDC& dc) {
            dc.DrawRectangle(1, 6, 8, 4);
            Polygon(dc, {P(8, 2), P(15, 8), P(8, 14)});
        });
        break;
    case EGlyph::Backward:
        c.Layer(kOrange, [](wxDC& dc) {
            dc.DrawRectangle(7, 6, 8, 4);
            Polygon(dc, {P(8, 2), P(1, 8), P(8, 14)});
        });
        break;
    case EGlyph::Edit:
        c.Layer(kOutline, [](wxDC& dc) { dc.DrawRectangle(0, 4, 16, 8); });
        c.Layer(kWhite, [](wxDC& dc) { dc.DrawRectangle(1, 5, 14, 6); });
        c.Layer(kOutline, [](wxDC& dc) { dc.DrawRectangle(3, 6, 1, 4); });
        break;
    case EGlyph::Check:
        c.Layer(kGreen, [](wxDC& dc) { Polygon(dc, {P(1, 8), P(4, 5), P(7, 8), P(13, 2), P(16, 5), P(7, 14)}); });
        break;
    case EGlyph::Cross:
        c.Layer(kRed, [](wxDC& dc) {
            ThickLine(dc, 3, 3, 13, 13, 3);
            ThickLine(dc, 13, 3, 3, 13, 3);
        });
        break;
    case EGlyph::Tag:
        c.Layer(pic.colour, [](wxDC& dc) { Polygon(dc, {P(1, 3), P(10, 3), P(15, 8), P(10, 13), P(1, 13)}); });
        c.Layer(kWhite, [](wxDC& dc) { dc.DrawCircle(10, 8, 1); });
        break;
    case EGlyph::Sort:
        c.Layer(kBlue, [](wxDC& dc) {
            Polygon(dc, {P(4, 1), P(8, 6), P(0, 6)});
            dc.DrawRectangle(3, 6, 2, 9);
        });
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRectangle(9, 3, 7, 2);
            dc.DrawRectangle(9, 7, 5, 2);
            dc.DrawRectangle(9, 11, 3, 2);
        });
        break;
    case EGlyph::Search:
        c.Layer(kOutline, [](wxDC& dc) {
            Ring(dc, 6, 6, 4, 2);
            ThickLine(dc, 9, 9, 14, 14, 3);
        });
        break;
    case EGlyph::Dice:
        c.Layer(kOutline, [](wxDC& dc) { dc.DrawRoundedRectangle(1, 1, 14, 14, 2); });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.DrawRoundedRectangle(2, 2, 12, 12, 2);
        });
        c.Layer(kRed, [](wxDC& dc) {
            for (const wxPoint& p : {P(5, 5), P(11, 5), P(8, 8), P(5, 11), P(11, 11)}) dc.DrawCircle(p, 1);
        });
        break;
    case EGlyph::TextTile:
        c.Layer(pic.colour, [](wxDC& dc) { dc.DrawRoundedRectangle(0, 0, 16, 16, 3); });
        c.Text(kWhite, ToWx(CString(pic.text)), 11);
        break;
    case EGlyph::Export:
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRectangle(1, 8, 2, 7);
            dc.DrawRectangle(1, 13, 14, 2);
            dc.DrawRectangle(13, 8, 2, 7);
        });
        c.Layer(kGreen, [](wxDC& dc) { Arrow(dc, false); });
        break;
    case EGlyph::Import:
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRectangle(1, 8, 2, 7);
            dc.DrawRectangle(1, 13, 14, 2);
            dc.DrawRectangle(13, 8, 2, 7);
        });
        c.Layer(kBlue, [](wxDC& dc) { Arrow(dc, true); });
        break;
    case EGlyph::Delete:
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRectangle(2, 2, 12, 2);
            dc.DrawRectangle(6, 0, 4, 2);
            Polygon(dc, {P(3, 5), P(13, 5), P(12, 16), P(4, 16)});
        });
        c.Layer(kRed, [](wxDC& dc) {
            ThickLine(dc, 6, 8, 10, 13, 1);
            ThickLine(dc, 10, 8, 6, 13, 1);
        });
        break;
    case EGlyph::Pencil:
        c.Layer(kOrange, [](wxDC& dc) { Polygon(dc, {P(11, 1), P(15, 5), P(5, 15), P(1, 11)}); });
        c.Layer(kOutline, [](wxDC& dc) { Polygon(dc, {P(1, 11), P(5, 15), P(0, 16)}); });
        break;
    case EGlyph::Chart:
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRectangle(0, 14, 16, 2);
            dc.DrawRectangle(0, 0, 2, 16);
        });
        c.Layer(kBlue, [](wxDC& dc) {
            dc.DrawRectangle(3, 8, 3, 6);
            dc.DrawRectangle(7, 4, 3, 10);
            dc.DrawRectangle(11, 10, 3, 4);
        });
        break;
    case EGlyph::Microphone:
        c.Layer(kOutline, [](wxDC& dc) {
            dc.DrawRoundedRectangle(5, 0, 6, 10, 3);
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.SetPen(wxPen(*wxWHITE, 1));
            dc.DrawEllipticArc(2, 3, 12, 10, 180, 360);
            dc.SetBrush(*wxWHITE_BRUSH);
            dc.DrawRectangle(7, 12, 2, 3);
            dc.DrawRectangle(4, 15, 8, 1);
        });
        c.Layer(kRed, [](wxDC& dc) { dc.DrawCircle(13, 3, 2); });
        break;
    case EGlyph::Record:
        c.Layer(wxColour(140, 20, 20), [](wxDC& dc) { dc.DrawCircle(8, 8, 7); });
        c.Layer(kRed, [](wxDC& dc) { dc.DrawCircle(8, 8, 5); });
        break;
    case EGlyph::Replay:
        CircularArrow(c, kGreen);
        c.Layer(kGreen, [](wxDC& dc) { Polygon(dc, {P(6, 5), P(11, 8), P(6, 11)}); });
        break;
    case EGlyph::Help:
        c.Layer(kBlue, [](wxDC& dc) { dc.DrawCircle(8, 8, 7); });
        c.Text(kWhite, "?", 12);
        break;
    case EGlyph::Update:
        c.Layer(kGreen, [](wxDC& dc) { dc.DrawCircle(8, 8, 7); });
        c.Layer(kWhite, [](wxDC& dc) {
            dc.DrawRectangle(7, 3, 2, 6);
            Polygon(dc, {P(4, 8), P(12, 8), P(8, 13)});
        });
        break;
    case EGlyph::Palette:
        c.Layer(wxColour(200, 170, 120), [](wxDC& dc) { dc.DrawEllipse(0, 2, 16, 12); });
        c.Layer(kRed, [](wxDC& dc) { dc.DrawCircle(4, 6, 1); });
        c.Layer(kGreen, [](wxDC& dc) { dc.DrawCircle(8, 5, 1); });
        c.Layer(kBlue, [](wxDC& dc) { dc.DrawCircle(12, 7, 1); });
        c.Layer(kWhite, [](wxDC& dc) { dc.DrawCircle(6, 10, 2); });
        break;
    case EGlyph::Generic:
        c.Layer(kGrey, [](wxDC& dc) { dc.DrawRoundedRectangle(1, 1, 14, 14, 2); });
        c.Layer(wxColour(220, 220, 220), [](wxDC& dc) { dc.DrawRoundedRectangle(3, 3, 10, 10, 1); });
        break;
    }
}

// ---- Which picture for which id -----------------------------------------

SPicture Glyph(EGlyph glyph, const char* art = nullptr)
{
    SPicture p;
    p.glyph = glyph;
    p.art = art;
    return p;
}

SPicture Tile(const char* text, const wxColour& colour)
{
    SPicture p;
    p.glyph = EGlyph::TextTile;
    p.text = text;
    p.colour = colour;
    return p;
}

SPicture Coloured(EGlyph glyph, const wxColour& colour)
{
    SPicture p;
    p.glyph = glyph;
    p.colour = colour;
    return p;
}

SPicture ProgramPicture(int id)
{
    switch (id) {
    case 316: return Glyph(EGlyph::Folder, wxART_FOLDER_OPEN);
    case 319: return Glyph(EGlyph::Player);
    case 359: return Glyph(EGlyph::List);
    case 360: return Glyph(EGlyph::Panels);
    case 367: return Glyph(EGlyph::Pause);
    case 368: return Glyph(EGlyph::Play);
    case 369: return Glyph(EGlyph::Stop);
    case 377: return Glyph(EGlyph::Volume);
    case 421: return Glyph(EGlyph::Reset);
    case 448: return Glyph(EGlyph::Download);
    case 453: return Glyph(EGlyph::Error, wxART_ERROR);
    case 454: return Glyph(EGlyph::Information, wxART_INFORMATION);
    case 455: return Glyph(EGlyph::Warning, wxART_WARNING);
    case 408: return Glyph(EGlyph::Application);
    // The pop-up dictionary browser's buttons.
    case 500: return Glyph(EGlyph::Backward);
    case 499: return Glyph(EGlyph::Forward);
    case 501: return Glyph(EGlyph::Plus, wxART_PLUS);
    case 497: return Glyph(EGlyph::Delete, wxART_DELETE);
    case 498: return Glyph(EGlyph::Cross, wxART_CLOSE);
    default: return Glyph(EGlyph::Generic);
    }
}

// The talk categories' tags, one colour each.
wxColour CategoryColour(int id)
{
    static const wxColour colours[] = {
        wxColour(120, 120, 120), wxColour(50, 110, 200), wxColour(230, 80, 150), wxColour(150, 90, 200),
        wxColour(40, 160, 70),   wxColour(200, 140, 30), wxColour(30, 150, 160), wxColour(160, 110, 70),
    };
    const int index = id - kCmdFirstCategory;
    return index >= 0 && index < kCategoryCount ? colours[index] : kGrey;
}

SPicture CommandPicture(int id)
{
    if (id >= kCmdFirstCategory && id <= kCmdLastCategory)
        return Coloured(EGlyph::Tag, CategoryColour(id));
    if (id >= kCmdFirstSort && id <= kCmdLastSort)
        return Glyph(EGlyph::Sort);
    if (id >= kCmdFirstLook && id <= kCmdLastLook)
        return Glyph(EGlyph::Palette);
    switch (id) {
    // 主页
    case kCmdPlaylist: return Glyph(EGlyph::List);
    case kCmdOpenDict: return Coloured(EGlyph::Book, kBlue);
    case kCmdLocalWord: return Coloured(EGlyph::Book, kGreen);
    case kCmdOnlineWord: return Glyph(EGlyph::Globe);
    // The dictionary pane's toolbar
    case kCmdPrevWord: return Glyph(EGlyph::Backward);
    case kCmdNextWord: return Glyph(EGlyph::Forward);
    case kCmdWordWeb: return Glyph(EGlyph::Globe);
    case kCmdWordHome: return Coloured(EGlyph::Book, kGreen);
    case kCmdSaveWord: return Glyph(EGlyph::Plus, wxART_PLUS);
    case kCmdDelWord: return Glyph(EGlyph::Delete, wxART_DELETE);
    case kCmdPlayerPane: return Glyph(EGlyph::Player);
    case kCmdMouseWordPick: return Glyph(EGlyph::Pointer);
    case kCmdSkipBlank: return Glyph(EGlyph::Skip);
    case kCmdShowChinese: return Tile("中", kRed);
    case kCmdPointRead: return Glyph(EGlyph::Target);
    case kCmdClickPause: return Glyph(EGlyph::Pause);
    case kCmdClickContinue: return Glyph(EGlyph::Play);
    case kCmdPlayFromPan: return Glyph(EGlyph::Cloud);
    case kCmdIncreaseMargin: return Glyph(EGlyph::Plus, wxART_PLUS);
    case kCmdDecreaseMargin: return Glyph(EGlyph::Minus, wxART_MINUS);
    case kCmdSubtitleMode: return Glyph(EGlyph::Subtitle);
    case kCmdParagraphMode: return Glyph(EGlyph::Paragraph);
    case kCmdBilingualMode: return Glyph(EGlyph::Bilingual);
    case kCmdBilingualListView: return Tile("双", kBlue);
    case kCmdFontName: return Glyph(EGlyph::FontFace);
    case kCmdFontSize: return Glyph(EGlyph::FontSize);
    case kCmdFontBold: return Glyph(EGlyph::Bold);
    case kCmdFontItalic: return Glyph(EGlyph::Italic);
    case kCmdFontUnderline: return Glyph(EGlyph::Underline);
    case kCmdFontColor: return Glyph(EGlyph::FontColor);
    case kCmdBackColor: return Glyph(EGlyph::BackColor);
    case kCmdFast: return Glyph(EGlyph::Forward);
    case kCmdSlow: return Glyph(EGlyph::Backward);
    case kCmdOffsetEdit: return Glyph(EGlyph::Edit);
    // 播放列表
    case kCmdPlaylistEng: return Tile("En", kBlue);
    case kCmdPlaylistChn: return Tile("中", kRed);
    case kCmdShowTalkInfo: return Glyph(EGlyph::Information);
    case kCmdFilterBoth: return Glyph(EGlyph::Check);
    case kCmdFilterScript: return Glyph(EGlyph::Cloud);
    case kCmdSearch: return Glyph(EGlyph::Search, wxART_FIND);
    // 词汇管理
    case kCmdWordBook: return Coloured(EGlyph::Book, kRed);
    case kCmdExportWords: return Glyph(EGlyph::Export);
    case kCmdImportWords: return Glyph(EGlyph::Import);
    case kCmdClearWordBook: return Glyph(EGlyph::Delete, wxART_DELETE);
    case kCmdRandomGroups: return Glyph(EGlyph::Dice);
    case kCmdCommonPhrases: return Tile("组", kOrange);
    case kCmdShowWords: return Tile("词", kBlue);
    case kCmdShowPhrases: return Tile("组", kGreen);
    case kCmdShowNewWords: return Tile("生", kRed);
    case kCmdAutoPlayExample: return Glyph(EGlyph::Play);
    case kCmdExampleVideoWindow: return Glyph(EGlyph::Player);
    case kCmdMakeExercise: return Glyph(EGlyph::Pencil);
    case kCmdExerciseScores: return Glyph(EGlyph::Chart);
    case kCmdWordKnown: return Glyph(EGlyph::Check);
    case kCmdWordUnknown: return Glyph(EGlyph::Cross);
    // 口语练习
    case kCmdFollowRead: return Glyph(EGlyph::Microphone);
    case kCmdFollowReadAuto: return Glyph(EGlyph::Play);
    case kCmdFollowReadManual: return Glyph(EGlyph::Pointer);
    case kCmdRolePlay: return Tile("角", kOrange);
    case kCmdRolePlayStart: return Glyph(EGlyph::Play);
    case kCmdDubbing: return Glyph(EGlyph::Microphone);
    case kCmdDubbingEnd: return Glyph(EGlyph::Stop);
    case kCmdSpeechReset: return Glyph(EGlyph::Reset);
    case kCmdRecord: return Glyph(EGlyph::Record);
    case kCmdRecordPause: return Glyph(EGlyph::Pause);
    case kCmdRecordStop: return Glyph(EGlyph::Stop);
    case kCmdReplayRecording: return Glyph(EGlyph::Replay);
    case kCmdExportRecording: return Glyph(EGlyph::Export);
    // 配置 and the application menu
    case ID_SHOW_HELP_COMMAND: return Glyph(EGlyph::Help, wxART_HELP);
    case kCmdUpdateSoft: return Glyph(EGlyph::Update);
    case kCmdAppAbout: return Glyph(EGlyph::Information);
    default: return Glyph(EGlyph::Generic);
    }
}

wxBitmap Draw(const SPicture& picture, int size)
{
    CIconCanvas canvas(size);
    PaintGlyph(canvas, picture);
    return canvas.ToBitmap();
}

// `picture` over a rounded highlight, the pressed look of the ribbon's
// toggle buttons.
wxBitmap Highlighted(const wxBitmap& picture, int size)
{
    CIconCanvas canvas(size);
    canvas.Layer(wxColour(70, 130, 210), [](wxDC& dc) { dc.DrawRoundedRectangle(0, 0, 16, 16, 3); });
    canvas.Layer(wxColour(190, 215, 245), [](wxDC& dc) { dc.DrawRoundedRectangle(1, 1, 14, 14, 2); });
    wxImage base = canvas.ToBitmap().ConvertToImage();
    wxImage top = picture.ConvertToImage();
    if (!top.HasAlpha())
        top.InitAlpha();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double a = top.GetAlpha(x, y) / 255.0;
            if (a <= 0)
                continue;
            const double under = base.GetAlpha(x, y) / 255.0;
            const double out = a + under * (1 - a);
            const auto mix = [&](unsigned char t, unsigned char b) {
                return static_cast<unsigned char>(std::lround((t * a + b * under * (1 - a)) / out));
            };
            base.SetRGB(x, y, mix(top.GetRed(x, y), base.GetRed(x, y)), mix(top.GetGreen(x, y), base.GetGreen(x, y)),
                        mix(top.GetBlue(x, y), base.GetBlue(x, y)));
            base.SetAlpha(x, y, static_cast<unsigned char>(std::lround(out * 255)));
        }
    }
    return wxBitmap(base);
}

wxBitmap FromArt(const SPicture& picture, int size)
{
    if (!picture.art)
        return wxNullBitmap;
    wxBitmap art = wxArtProvider::GetBitmap(picture.art, wxART_OTHER, wxSize(size, size));
    if (!art.IsOk() || art.GetWidth() <= 0 || art.GetHeight() <= 0)
        return wxNullBitmap;
    if (art.GetWidth() != size || art.GetHeight() != size) {
        wxImage image = art.ConvertToImage();
        if (!image.IsOk())
            return wxNullBitmap;
        art = wxBitmap(image.Scale(size, size, wxIMAGE_QUALITY_HIGH));
    }
    return art;
}

enum class ESource { Program, Command, CheckedCommand };

// Pictures stay for the whole run; the cache is never destroyed, so no
// bitmap outlives the toolkit's shut-down in a static destructor.
std::map<std::tuple<ESource, int, int>, wxBitmap>& Cache()
{
    static auto* cache = new std::map<std::tuple<ESource, int, int>, wxBitmap>;
    return *cache;
}

wxBitmap Load(ESource source, int id, int size)
{
    size = std::max(size, 1);
    const auto key = std::make_tuple(source, id, size);
    auto found = Cache().find(key);
    if (found != Cache().end())
        return found->second;
    wxBitmap bitmap;
    if (source == ESource::CheckedCommand) {
        bitmap = Highlighted(Load(ESource::Command, id, size), size);
    } else {
        const SPicture picture = source == ESource::Program ? ProgramPicture(id) : CommandPicture(id);
        bitmap = FromArt(picture, size);
        if (!bitmap.IsOk())
            bitmap = Draw(picture, size);
    }
    Cache()[key] = bitmap;
    return bitmap;
}

} // namespace

wxBitmap LoadProgramIcon(int resourceId, int size)
{
    return Load(ESource::Program, resourceId, size);
}

wxBitmap LoadCommandIcon(int commandId, int size)
{
    return Load(ESource::Command, commandId, size);
}

wxBitmap LoadCheckedCommandIcon(int commandId, int size)
{
    return Load(ESource::CheckedCommand, commandId, size);
}

wxBitmap DrawProgramIcon(int resourceId, int size)
{
    return Draw(ProgramPicture(resourceId), std::max(size, 1));
}

wxBitmap DrawCommandIcon(int commandId, int size)
{
    return Draw(CommandPicture(commandId), std::max(size, 1));
}

const std::vector<int>& GetProgramIconIds()
{
    static const std::vector<int> ids = {316, 319, 359, 360, 367, 368, 369, 377, 421,
                                           448, 453, 454, 455, 408, 497, 498, 499, 500, 501};
    return ids;
}

wxBitmap ThemeIconOrDrawn(const wxArtID& id, const wxArtClient& client, const wxSize& size,
                          const std::function<void(wxDC&)>& draw)
{
    wxBitmap bitmap = wxArtProvider::GetBitmap(id, client, size);
    if (bitmap.IsOk()) {
        if (bitmap.GetSize() != size)
            bitmap = wxBitmap(bitmap.ConvertToImage().Scale(size.x, size.y, wxIMAGE_QUALITY_HIGH));
        return bitmap;
    }
    const wxColour key(255, 0, 255);
    bitmap = wxBitmap(size, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(key));
        dc.Clear();
        draw(dc);
    }
    bitmap.SetMask(new wxMask(bitmap, key));
    return bitmap;
}
