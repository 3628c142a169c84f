#pragma once
// State pair tracker: remembers the order in which properties were typed (newest first) and picks
// the newest pair of them that defines a state.

#include <array>
#include <cstdint>
#include <set>
#include <string>

class TCombin {
public:
    virtual ~TCombin() = default;

    // Letters of the properties, most recently edited first; each letter at most once.
    std::string Order;
    // The two letters of the pair in use.
    std::set<char> Pair;

    // The property of Index was edited; the base only searches the pair again.
    virtual void Touch(int Index);
    // Whether Pair defines a state (and whatever the concrete tracker derives from it).
    virtual bool IsValidPair() = 0;

protected:
    // Tries (1st, 2nd), (1st, 3rd), ..., (2nd, 3rd), ... of Order and stops at the first valid pair.
    void SearchPair();
};

// The tracker of the air-state inspector: one letter per grid row from the pressure row on, and
// the property library's input code of the pair in use.
class TAirCombin : public TCombin {
public:
    static constexpr std::array<char, 11> Codes = {'p', 't', 'b', 'h', 'w', 'f', 'd', 'v', 's', 'r', 'c'};

    // Starts from dry bulb then wet bulb, so the first state shown is defined by those two.
    TAirCombin();

    std::uint8_t Mode = 0;

    // Moves the property Codes[Index] to the front of Order, then searches the pair. An Index
    // outside Codes raises std::out_of_range.
    void Touch(int Index) override;
    // Looks Pair up in the library's mode table: a hit sets Mode, a miss sets it to 0.
    bool IsValidPair() override;
};
