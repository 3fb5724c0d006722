// Frame layout arithmetic.
#include "display/frame_layout.h"

int FrameFontHeight(FrameFont font, int cy) {
    switch (font) {
    case FrameFont::A:
        return cy / 50;
    case FrameFont::B:
        return cy / 20;
    case FrameFont::C:
        return cy / 10;
    case FrameFont::D:
        return cy / 4;
    }
    return 0;
}

bool FrameFontItalic(FrameFont font) {
    return font != FrameFont::A;
}

FrameFont FrameLineFont(FrameLine line) {
    switch (line) {
    case FrameLine::Today:
    case FrameLine::Start:
    case FrameLine::Due:
        return FrameFont::A;
    case FrameLine::Title:
    case FrameLine::Subject:
        return FrameFont::B;
    case FrameLine::DayLine:
        return FrameFont::C;
    case FrameLine::Clock:
        return FrameFont::D;
    }
    return FrameFont::A;
}

TextPos PlaceFrameLine(FrameLine line, int cxClient, int cyClient, int cxText) {
    const int W = cxClient;
    const int H = cyClient;
    const int right = W - cxText;
    const int centre = (W - cxText) / 2;
    switch (line) {
    case FrameLine::Today:
        return {right, H / 50};
    case FrameLine::Start:
        return {right, 3 * (H / 50)};
    case FrameLine::Due:
        return {right, 4 * (H / 50)};
    case FrameLine::Title:
        return {centre, (4 * H) / 20};
    case FrameLine::Subject:
        return {centre, (6 * H) / 20};
    case FrameLine::DayLine:
        return {centre, (17 * H) / 40};
    case FrameLine::Clock:
        return {centre, (113 * H) / 200};
    }
    return {0, 0};
}
