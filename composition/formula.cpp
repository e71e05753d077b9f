#include "composition/formula.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace orvelo {

double NeutralMass(const Formula& f) {
    double m = 0;
    for (int e = 0; e < kElementCount; ++e) m += f.count(e) * ElementOf(e).mass();
    return m;
}

double IonMass(const Formula& f) { return (NeutralMass(f) - f.charge * kElectronMassU) / f.charge; }

int TwiceRdbe(const Formula& f) {
    int r = 2;
    for (int e = 0; e < kElementCount; ++e) r += f.count(e) * (ElementOf(e).valence - 2);
    return r;
}

namespace {

// Hill order with carbon: C, H, then the others alphabetically; without: all alphabetically.
const std::vector<int>& HillOrder(bool carbon) {
    static const std::array<std::vector<int>, 2> orders = [] {
        std::vector<int> alphabetical;
        for (int e = 0; e < kElementCount; ++e) alphabetical.push_back(e);
        std::sort(alphabetical.begin(), alphabetical.end(), [](int a, int b) {
            return std::string_view(ElementOf(a).symbol) < std::string_view(ElementOf(b).symbol);
        });
        std::vector<int> withCarbon{kC, kH};
        for (int e : alphabetical)
            if (e != kC && e != kH) withCarbon.push_back(e);
        return std::array<std::vector<int>, 2>{alphabetical, withCarbon};
    }();
    return orders[carbon ? 1u : 0u];
}

}  // namespace

std::string HillText(const Formula& f) {
    const std::vector<int>& order = HillOrder(f.count(kC) > 0);
    std::string text;
    for (int e : order) {
        const int n = f.count(e);
        if (n == 0) continue;
        text += ElementOf(e).symbol;
        if (n > 1) text += std::to_string(n);
    }
    if (f.charge > 1) text += ' ' + std::to_string(f.charge);
    text += '+';
    return text;
}

bool ParseFormulaText(std::string_view text, Formula& out) {
    Formula f;
    std::size_t i = 0;
    bool any = false;
    auto skipBlanks = [&] {
        while (i < text.size() && text[i] == ' ') ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        if (!std::isupper(static_cast<unsigned char>(text[i]))) return false;
        std::size_t j = i + 1;
        while (j < text.size() && std::islower(static_cast<unsigned char>(text[j]))) ++j;
        const auto element = FindElement(text.substr(i, j - i));
        if (!element) return false;
        i = j;
        skipBlanks();
        int n = 0;
        bool digits = false;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && n < 10000) {
            n = n * 10 + (text[i++] - '0');
            digits = true;
        }
        if (!digits) n = 1;
        if (n > 9999 || f.counts[static_cast<std::size_t>(*element)] != 0) return false;
        f.counts[static_cast<std::size_t>(*element)] = static_cast<int16_t>(n);
        any = any || n > 0;
        skipBlanks();
    }
    if (!any) return false;
    out = f;
    return true;
}

}  // namespace orvelo
