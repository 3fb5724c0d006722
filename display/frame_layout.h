// Where the seven lines of a frame go and how large their fonts are: integer arithmetic on the
// client size and each line's measured width, division truncating toward zero.
#pragma once

enum class FrameFont { A, B, C, D };
enum class FrameLine { Today, Start, Due, Title, Subject, DayLine, Clock };

constexpr int kFrameLineCount = 7;

struct TextPos {
    int x;
    int y;
};

// Cell height of a font for a client height H: H/50, H/20, H/10, H/4.
int FrameFontHeight(FrameFont font, int cy);
bool FrameFontItalic(FrameFont font);
FrameFont FrameLineFont(FrameLine line);

// Top-left corner of a line whose text is cx pixels wide in a cx by cy client area.
TextPos PlaceFrameLine(FrameLine line, int cxClient, int cyClient, int cxText);
