#pragma once

namespace crinova {

// What the program asks of the operating system itself.
class SystemServices {
  public:
    virtual ~SystemServices() = default;

    // Asks the system to power the computer off, without forcing running programs to close.
    // Answers whether the request could be sent; a refusal is not reported to the stylist.
    virtual bool RequestShutdown() = 0;
};

// Asks the login manager for a power-off (systemctl poweroff), which honours inhibitors.
class HostSystem : public SystemServices {
  public:
    bool RequestShutdown() override;
};

}  // namespace crinova
