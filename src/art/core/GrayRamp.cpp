#include "art/core/GrayRamp.h"

#include "base/Settings.h"
#include "base/Gbk.h"

namespace vomra {

namespace k = settings_keys;

const char *rampKey(RampKind kind)
{
    switch (kind) {
    case RampKind::Standard:
        return k::kStandardRamp;
    case RampKind::Levels94:
        return k::kRamp94;
    case RampKind::Custom:
        break;
    }
    return k::kCustomRamp;
}

std::string readRamp(const Profile &settings, RampKind kind)
{
    return settings.readString(gbk::fromUtf8(k::kGrinderSection), gbk::fromUtf8(rampKey(kind)), "") + " ";
}

std::string shippedRamp(RampKind kind)
{
    switch (kind) {
    case RampKind::Standard:
        return std::string(kShippedStandardRamp) + " ";
    case RampKind::Levels94:
        return std::string(kShipped94Ramp) + " ";
    case RampKind::Custom:
        break;
    }
    return {};
}

Result<void> saveCustomRamp(const Profile &settings, std::string_view ramp)
{
    const std::size_t lineEnd = ramp.find_first_of("\r\n");
    if (lineEnd != std::string_view::npos)
        ramp = ramp.substr(0, lineEnd);
    return settings.writeString(gbk::fromUtf8(k::kGrinderSection), gbk::fromUtf8(k::kCustomRamp), ramp);
}

} // namespace vomra
