#include "framework/dialogs/ConfigSection.h"

ConfigSection::~ConfigSection() = default;
