#include "vedic/Varga.h"

#include "vedic/Signs.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <span>

namespace halvaro::vedic {

namespace {

std::size_t KindOf(SignKind kind, int sign)
{
    switch (kind) {
    case SignKind::Parity: return static_cast<std::size_t>(sign % 2);
    case SignKind::Modality: return static_cast<std::size_t>(sign % 3);
    case SignKind::Element: return static_cast<std::size_t>(sign % 4);
    case SignKind::Any: break;
    }
    return 0;
}

} // namespace

std::optional<VargaRule> VargaRuleOf(int n)
{
    const auto row = std::find_if(VargaRules.begin(), VargaRules.end(), [n](const VargaRule& r) { return r.N == n; });
    return row == VargaRules.end() ? std::nullopt : std::optional(*row);
}

std::optional<int> SignInVarga(const VargaRule& rule, double longitudeDeg)
{
    const std::optional<double> normalized = NormalizedLongitude(longitudeDeg);
    if (!normalized || rule.N < 1) {
        return std::nullopt;
    }
    const double longitude = *normalized;
    const std::span<const UnevenPart> uneven = static_cast<int>(longitude) / 30 % 2 == 0 ? rule.OddParts : rule.EvenParts;
    if (!uneven.empty()) {
        // Below 360 the sign begins at a whole degree, and the subtraction is exact.
        const double inSign = longitude - 30 * (static_cast<int>(longitude) / 30);
        const auto part = std::find_if(uneven.begin(), uneven.end(), [inSign](const UnevenPart& p) { return inSign < p.BelowDeg; });
        return part == uneven.end() ? uneven.back().Sign : part->Sign;
    }
    // The parts counted over the whole circle from Mesha, the longitude times
    // N/30 in lowest terms: one count for every part, its whole-degree
    // boundaries exact, and for the Navamsa the nakshatras' own count of padas.
    const int common = std::gcd(rule.N, 30);
    const int count = std::clamp(static_cast<int>(std::floor(longitude * (rule.N / common) / (30 / common))), 0,
        SignCount * rule.N - 1);
    const int sign = count / rule.N;
    const int part = count % rule.N;
    const int start = rule.Starts[KindOf(rule.StartBy, sign)] + (rule.From == CountFrom::TheSign ? sign : 0);
    return (start + part * rule.Step) % SignCount;
}

std::optional<int> VargaSign(int n, double longitudeDeg)
{
    const std::optional<VargaRule> rule = VargaRuleOf(n);
    return rule ? SignInVarga(*rule, longitudeDeg) : std::nullopt;
}

} // namespace halvaro::vedic
