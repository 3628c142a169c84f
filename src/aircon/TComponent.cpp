#include "aircon/TComponent.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

TComponent::TComponent(TComponent* AOwner, std::string AName)
    : FOwner(AOwner)
    , FName(std::move(AName)) {
    if (FOwner == nullptr) return;
    if (!FName.empty() && FOwner->FindComponent(FName) != nullptr)
        throw EComponentError("A component named " + FName + " already exists");
    FOwner->FMembers.push_back(this);
}

TComponent::~TComponent() {
    while (!FOwned.empty()) {
        std::unique_ptr<TComponent> last = std::move(FOwned.back());
        FOwned.pop_back();
    }
    // Components that named this owner but live elsewhere must not point at a freed owner.
    for (TComponent* member : FMembers)
        member->FOwner = nullptr;
    if (FOwner != nullptr) std::erase(FOwner->FMembers, this);
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* member : FMembers)
        if (SameName(member->FName, AName)) return member;
    return nullptr;
}
