#pragma once
// Move-only owner of a DDS entity, and the check that turns a failed DDS call into an Exception
// ("dds_create_reader: Bad parameter"). Private to the middleware.

#include <dds/dds.h>

#include <string>

namespace ORVA::Middleware::dds {

// Returns `rc` when it is not an error; raises Exception naming `call` otherwise.
dds_return_t check(dds_return_t rc, const char* call);

class Entity {
public:
    Entity() noexcept = default;
    explicit Entity(dds_entity_t e) noexcept : e_(e) {}
    ~Entity() { reset(); }
    Entity(Entity&& other) noexcept : e_(other.e_) { other.e_ = 0; }
    Entity& operator=(Entity&& other) noexcept
    {
        if (this != &other) {
            reset();
            e_ = other.e_;
            other.e_ = 0;
        }
        return *this;
    }
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

    dds_entity_t get() const noexcept { return e_; }
    // Deletes the entity (and its children). An entity already deleted with its parent is no fault.
    void reset() noexcept
    {
        if (e_ > 0)
            dds_delete(e_);
        e_ = 0;
    }

private:
    dds_entity_t e_ = 0;
};

}  // namespace ORVA::Middleware::dds
