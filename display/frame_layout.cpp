// Frame layout arithmetic.
#include "display/frame_layout.h"

#include <algorithm>

int FrameFontHeight(FrameFont font, int cy) {
    switch (font) {
    case FrameFont::Dates:
        return cy / 50;
    case FrameFont::Heading:
        return cy / 20;
    case FrameFont::DayCount:
        return cy / 10;
    case FrameFont::Clock:
        return cy / 4;
    }
    return 0;
}

bool FrameFontItalic(FrameFont font) {
    return font != FrameFont::Dates;
}

bool FrameFontProportional(FrameFont font) {
    return font == FrameFont::Heading;
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

std::vector<RowSpan> FrameSpansToRedraw(const RowSpan (&inkRows)[kFrameLineCount],
                                        const bool (&changed)[kFrameLineCount], int cy) {
    std::vector<RowSpan> spans;
    for (int i = 0; i < kFrameLineCount; ++i) {
        const RowSpan span{std::max(inkRows[i].top, 0), std::min(inkRows[i].bottom, cy)};
        if (changed[i] && span.top < span.bottom)
            spans.push_back(span);
    }
    std::sort(spans.begin(), spans.end(), [](const RowSpan& a, const RowSpan& b) { return a.top < b.top; });
    std::vector<RowSpan> joined;
    for (const RowSpan& span : spans) {
        if (!joined.empty() && span.top <= joined.back().bottom)
            joined.back().bottom = std::max(joined.back().bottom, span.bottom);
        else
            joined.push_back(span);
    }
    return joined;
}
