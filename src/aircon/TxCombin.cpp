#include "aircon/TxCombin.h"

#include <stdexcept>
#include <string>

namespace {

struct TPairMode {
    char A;
    char B;
    std::uint8_t Mode;
};

// The property library's input codes (t dry bulb, b wet bulb, h enthalpy, w humidity ratio,
// f relative humidity, d dew point, v vapour pressure, s saturation pressure, r density). Pairs
// that are not listed do not define a state at a given pressure.
constexpr TPairMode PairModes[] = {
    {'t', 'b', 0},  {'t', 'h', 1},  {'t', 'w', 2},  {'t', 'f', 3},  {'t', 'd', 4},  {'t', 'v', 5},
    {'t', 'r', 7},  {'b', 'h', 8},  {'b', 'w', 9},  {'b', 'f', 10}, {'b', 'd', 11}, {'b', 'v', 12},
    {'b', 's', 13}, {'b', 'r', 14}, {'h', 'w', 15}, {'h', 'f', 16}, {'h', 'd', 17}, {'h', 'v', 18},
    {'h', 's', 19}, {'w', 'f', 25}, {'w', 's', 26}, {'w', 'r', 27}, {'f', 'd', 28}, {'f', 'v', 29},
    {'f', 's', 30}, {'d', 's', 31}, {'v', 's', 32},
};

} // namespace

void TCombin::Touch(int /*Index*/) {
    SearchPair();
}

void TCombin::SearchPair() {
    const std::size_t n = Order.size();
    if (n < 2) return;
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            Pair = {Order[i], Order[j]};
            if (IsValidPair()) return;
        }
}

TAirCombin::TAirCombin() {
    Order = {Codes[1], Codes[2]};
}

void TAirCombin::Touch(int Index) {
    if (Index < 0 || Index >= static_cast<int>(Codes.size()))
        throw std::out_of_range("Property index " + std::to_string(Index) + " out of range");
    const char letter = Codes[static_cast<std::size_t>(Index)];
    if (const auto at = Order.find(letter); at != std::string::npos) Order.erase(at, 1);
    Order.insert(Order.begin(), letter);
    TCombin::Touch(Index);
}

bool TAirCombin::IsValidPair() {
    if (Pair.size() == 2) {
        const char a = *Pair.begin();
        const char b = *Pair.rbegin();
        for (const TPairMode& row : PairModes)
            if ((row.A == a && row.B == b) || (row.A == b && row.B == a)) {
                Mode = row.Mode;
                return true;
            }
    }
    Mode = 0;
    return false;
}
