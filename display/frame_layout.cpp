// Frame layout arithmetic.
#include "display/frame_layout.h"

#include <algorithm>
#include <cstddef>

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

bool Overlap(const FrameArea& a, const FrameArea& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}

FrameArea Union(const FrameArea& a, const FrameArea& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

std::vector<FrameArea> FrameAreasToRedraw(const FrameArea (&ink)[kFrameLineCount],
                                          const bool (&changed)[kFrameLineCount], int cx, int cy) {
    std::vector<FrameArea> areas;
    for (int i = 0; i < kFrameLineCount; ++i) {
        const FrameArea area{std::max(ink[i].left, 0), std::max(ink[i].top, 0), std::min(ink[i].right, cx),
                             std::min(ink[i].bottom, cy)};
        if (changed[i] && !area.IsEmpty())
            areas.push_back(area);
    }
    // Areas that touch join too: two copies side by side cost more than one.
    const auto touch = [](const FrameArea& a, const FrameArea& b) {
        return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
    };
    for (bool bJoined = true; bJoined;) {
        bJoined = false;
        for (std::size_t i = 0; i < areas.size() && !bJoined; ++i) {
            for (std::size_t j = i + 1; j < areas.size() && !bJoined; ++j) {
                if (touch(areas[i], areas[j])) {
                    areas[i] = Union(areas[i], areas[j]);
                    areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(j));
                    bJoined = true;
                }
            }
        }
    }
    std::sort(areas.begin(), areas.end(), [](const FrameArea& a, const FrameArea& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    return areas;
}
