// Where the seven lines of a frame go, in which font and colour, and which rows a frame that
// changed must redraw: integer arithmetic on the client size and each line's measured width,
// division truncating toward zero.
#pragma once

#include <cstdint>
#include <vector>

// The frame's fonts, by what they show.
enum class FrameFont { Dates, Heading, DayCount, Clock };
constexpr int kFrameFontCount = 4;
enum class FrameLine { Today, Start, Due, Title, Subject, DayLine, Clock };

constexpr int kFrameLineCount = 7;

// Text colours as COLORREF holds them, 0x00BBGGRR.
inline constexpr std::uint32_t kFrameGreen = 0x0000FF00;
inline constexpr std::uint32_t kFrameCyan = 0x00FFFF00;

// The lines of a frame as it is drawn, top to bottom, each with its font and colour. Lines of one
// font stand together, so that each font is made once a frame.
struct FrameRow {
    FrameLine line;
    FrameFont font;
    std::uint32_t color;
};
inline constexpr FrameRow kFrameRows[kFrameLineCount] = {
    {FrameLine::Today, FrameFont::Dates, kFrameGreen},
    {FrameLine::Start, FrameFont::Dates, kFrameCyan},
    {FrameLine::Due, FrameFont::Dates, kFrameCyan},
    {FrameLine::Title, FrameFont::Heading, kFrameGreen},
    {FrameLine::Subject, FrameFont::Heading, kFrameGreen},
    {FrameLine::DayLine, FrameFont::DayCount, kFrameGreen},
    {FrameLine::Clock, FrameFont::Clock, kFrameGreen},
};

struct TextPos {
    int x;
    int y;
};

// Cell height of a font for a client height H: H/50, H/20, H/10, H/4.
int FrameFontHeight(FrameFont font, int cy);
bool FrameFontItalic(FrameFont font);
// Whether the font is the proportional face; the others are the fixed-pitch one.
bool FrameFontProportional(FrameFont font);

// Top-left corner of a line whose text is cx pixels wide in a cx by cy client area.
TextPos PlaceFrameLine(FrameLine line, int cxClient, int cyClient, int cxText);

// An area of the client area: columns [left, right) of rows [top, bottom). Empty when either
// range is.
struct FrameArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool IsEmpty() const { return left >= right || top >= bottom; }
};
// Whether two areas share a pixel.
bool Overlap(const FrameArea& a, const FrameArea& b);
// The smallest area holding both; an empty one adds nothing.
FrameArea Union(const FrameArea& a, const FrameArea& b);

// The areas to redraw when the lines marked changed have new texts, given for each line (in
// kFrameRows order) the area that its old and its new text can ink: the changed lines' areas,
// each joined with every other it overlaps or touches into the area holding both until none
// do, cut to the cx by cy client area; top to bottom. Every line whose ink meets an area is
// drawn again within it.
std::vector<FrameArea> FrameAreasToRedraw(const FrameArea (&ink)[kFrameLineCount],
                                          const bool (&changed)[kFrameLineCount], int cx, int cy);
