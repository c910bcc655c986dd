// The themes shipped in assets/Theme stay readable: caption text against the
// title-bar picture under it, page titles against the title band under them.
#include "base/Bmp.h"
#include "base/Profile.h"
#include "theme/core/ThemeCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kThemeFolder = VOMRA_TEST_DATA "/../../assets/Theme/";

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu; }
};

Picture ReadBmp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    Picture p;
    const vomra::Result<vomra::bmp::Header> read = vomra::bmp::readHeader(data, bytes.size());
    if (!read)
        return p;
    const vomra::bmp::Header &header = *read;
    p.width = header.width;
    p.height = header.height;
    p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
    vomra::bmp::decode(header, data, bytes.size(), p.pixels.data(), p.width);
    return p;
}

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double Luminance(std::uint32_t rgb)
{
    auto channel = [](std::uint32_t v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) + 0.0722 * channel(rgb & 0xFF);
}

double Contrast(std::uint32_t a, std::uint32_t b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t Colour(const vomra::ProfileIndex &ini, const std::string &section, const std::string &name)
{
    auto c = [&](const char *k) { return static_cast<std::uint32_t>(ini.readInteger(section, name + k, 0) & 0xFF); };
    return c("R") << 16 | c("G") << 8 | c("B");
}

// Line i of n of a gradient, as the page painters draw it.
std::uint32_t Blend(std::uint32_t from, std::uint32_t to, int i, int n)
{
    std::uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>(a + i * (b - a) / (n + 1)) << shift;
    }
    return out;
}

} // namespace

TEST(ShippedThemes, CaptionsAndPageTitlesAreReadable)
{
    const auto ini = vomra::Profile(kThemeFolder + "Theme.Ini").open();
    ASSERT_TRUE(ini);
    const auto names = vomra::LoadThemeNames(*ini);
    ASSERT_EQ(names.size(), 3u);
    for (const std::string &name : names) {
        const Picture title = ReadBmp(kThemeFolder + ini->readString(name, "TitleBar", ""));
        ASSERT_GT(title.width, 0) << name;
        const int tw = title.width / 3, th = title.height / 2;
        const int captionY = ini->readInteger(name, "CaptionY", 8);
        const int captionX = ini->readInteger(name, "CaptionX", 40);
        // The caption's 14-pixel line over the left corner cell and the middle tile.
        struct Row {
            const char *colour;
            int top;
            double least;
        };
        for (const Row &row : {Row{"ActiveColor", 0, 4.5}, Row{"NotActiveColor", th, 3.0}}) {
            const std::uint32_t text = Colour(*ini, name, row.colour);
            double worst = 100;
            for (int y = captionY; y < std::min(th, captionY + 14); ++y) {
                for (int x = std::min(captionX, tw); x < 2 * tw; ++x)
                    worst = std::min(worst, Contrast(text, title.at(x, row.top + y)));
            }
            EXPECT_GE(worst, row.least) << name << " " << row.colour;
        }
        // A page title, 6 characters of 24 pixels from x 60, on the band that runs
        // from TitleLeftColor to the editor's white (pages 0 to 4) or to
        // TitleRightColor (the theme page), in the narrowest page (334 pixels).
        const std::uint32_t font = Colour(*ini, name, "TitleFontColor");
        const std::uint32_t left = Colour(*ini, name, "TitleLeftColor");
        for (const std::uint32_t end : {0xFFFFFFu, Colour(*ini, name, "TitleRightColor")}) {
            double worst = 100;
            for (int x = 60; x < 60 + 6 * 24; ++x)
                worst = std::min(worst, Contrast(font, Blend(left, end, x, 334)));
            EXPECT_GE(worst, 3.0) << name << " page title";
        }
    }
}
