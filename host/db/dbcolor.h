// AcCmColor: an entity or layer colour, by index (0 ByBlock, 1-255, 256 ByLayer) or as a true
// colour that also keeps its nearest index.
#pragma once

#include <cstdint>

class AcCmColor {
public:
    enum Method { kByBlock = 0, kByLayer = 1, kByColor = 2, kByACI = 3 };
    static constexpr std::uint16_t kACIbyBlock = 0;
    static constexpr std::uint16_t kACIbyLayer = 256;

    AcCmColor() = default;
    static AcCmColor byLayer() { return AcCmColor(); }
    static AcCmColor byBlock() { AcCmColor c; c.setColorIndex(kACIbyBlock); return c; }
    static AcCmColor fromIndex(std::uint16_t aci) { AcCmColor c; c.setColorIndex(aci); return c; }
    static AcCmColor fromRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) { AcCmColor c; c.setRGB(r, g, b); return c; }

    Method colorMethod() const { return m_method; }
    bool isByLayer() const { return m_method == kByLayer; }
    bool isByBlock() const { return m_method == kByBlock; }
    bool isByACI() const { return m_method == kByACI; }
    bool isByColor() const { return m_method == kByColor; }

    // An index outside 0..256 is refused and leaves the colour as it was; returns false then.
    bool setColorIndex(std::uint16_t aci);
    // The index: 0 ByBlock, 256 ByLayer, the set index, or for a true colour the nearest of
    // the 255 standard colours.
    std::uint16_t colorIndex() const;
    void setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b);
    void setByLayer() { m_method = kByLayer; m_index = kACIbyLayer; }
    void setByBlock() { m_method = kByBlock; m_index = kACIbyBlock; }
    // Red, green and blue: the true colour, or the standard colour's values (ByLayer and
    // ByBlock give white).
    std::uint8_t red() const;
    std::uint8_t green() const;
    std::uint8_t blue() const;
    // 0x00RRGGBB as drawing files write true colours (group 420).
    std::uint32_t rgb() const;

    bool operator==(const AcCmColor& o) const;
    bool operator!=(const AcCmColor& o) const { return !(*this == o); }

private:
    Method m_method = kByLayer;
    std::uint16_t m_index = kACIbyLayer;
    std::uint8_t m_r = 0, m_g = 0, m_b = 0;
};

namespace vorn::db {
// The red, green and blue of a standard colour index (1-255); 0 and 256 give white.
void AciToRgb(std::uint16_t aci, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b);
// The standard colour index (1-255) nearest to a red, green, blue triple.
std::uint16_t NearestAci(std::uint8_t r, std::uint8_t g, std::uint8_t b);
}  // namespace vorn::db
