#pragma once
// The date, time and computer name a keeper stamps on a register line, from this system.

#include "game/register_store.h"

namespace brivana {

class SystemRegisterStamps final : public RegisterStamps {
public:
    std::string now() override;
    std::string computerName() override;
};

}  // namespace brivana
