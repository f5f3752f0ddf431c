#pragma once

#include "framework/core/Export.h"

#include <string>

// Opens web addresses in the desktop's browser ("xdg-open", found on PATH), the address passed
// as its one argument with no shell between. Only http and https addresses are opened: the
// address may come from the update server's answer or a hand-edited menu file.
class FRAMEWORK_API WebLink
{
public:
    // The address without surrounding white space, when it is an http or https address with a host;
    // empty otherwise.
    static std::string Openable(const std::string& link);
    // Starts the opener for an openable address; the opener is reaped in the background. False
    // when the address is refused or the opener cannot be started.
    static bool Open(const std::string& link);
};
