#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// Runs one operation of the folder device with the device paths encoded in data
// (first byte: the operation; then one or two paths split at a newline) and
// returns what went wrong: "" when nothing outside the device folder was read,
// listed, created, changed or removed.
QString checkDevicePath(const uint8_t* data, size_t size);
