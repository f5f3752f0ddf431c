#pragma once

// Marks the classes and functions that libframework.so exports to the game program.
#if defined(FRAMEWORK_BUILDING)
#define FRAMEWORK_API __attribute__((visibility("default")))
#else
#define FRAMEWORK_API
#endif
