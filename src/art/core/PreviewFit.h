#pragma once
// Where the grinder's preview shows a picture: scaled down to fit the 129 x 105
// box at (8, 40), centred, never scaled up.

namespace vomra {

inline constexpr int kPreviewBoxLeft = 8;
inline constexpr int kPreviewBoxTop = 40;
inline constexpr int kPreviewBoxWidth = 129;
inline constexpr int kPreviewBoxHeight = 105;

struct PreviewPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool stretched = false;
    bool operator==(const PreviewPlace &) const = default;
};

// For a picture of w x h pixels (both at least 1). Halves round to even, so a
// 258 x 1 picture gets no height at all.
PreviewPlace previewFit(int w, int h);

} // namespace vomra
