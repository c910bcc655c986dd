#pragma once
// What the picture grinder knows of the art font maker's page body it shares:
// the width of the option column, and the output text it writes its rows to.

#include "base/TextLines.h"

namespace vomra {

inline constexpr int kArtColumnWidth = 162;

class ArtOutput {
public:
    virtual void setOutputLines(const Lines &lines) = 0;

protected:
    ~ArtOutput() = default;
};

} // namespace vomra
