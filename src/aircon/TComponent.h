#pragma once
// Components with an owner and a name: the owner frees the components it created, and the names of
// the components of one owner are unique (compared without regard to case).

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class EComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TComponent {
public:
    // Registers the component with its owner (which may be null). A name already used by another
    // component of the same owner raises EComponentError before anything else happens.
    explicit TComponent(TComponent* AOwner, std::string AName = {});
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return FName; }
    TComponent* Owner() const { return FOwner; }

    // Constructs a T whose owner is this component and keeps it until this component is destroyed.
    // Components are freed in the reverse order of their creation, so a component that refers to
    // components created before it (a branch to its points) always goes first.
    template <class T, class... Args>
    T& Create(Args&&... args) {
        auto child = std::make_unique<T>(this, std::forward<Args>(args)...);
        T& result = *child;
        FOwned.push_back(std::move(child));
        return result;
    }

    // The component of this owner with that name, or null.
    TComponent* FindComponent(std::string_view AName) const;
    int ComponentCount() const { return static_cast<int>(FMembers.size()); }
    TComponent* Components(int Index) const { return FMembers.at(static_cast<std::size_t>(Index)); }

private:
    TComponent* FOwner;
    std::string FName;
    std::vector<TComponent*> FMembers;               // every component owned by this one, in creation order
    std::vector<std::unique_ptr<TComponent>> FOwned; // those created through Create, freed with this one
};
