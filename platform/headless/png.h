// Writes a surface as an 8-bit RGB PNG file: the replay tool's shots and the
// pictures that tests compare.
#pragma once

#include <optional>
#include <string>

#include "platform/surface.h"

// False (with a reason in *error when given) when the file cannot be written.
bool WritePng(const Surface &surface, const std::string &path, std::string *error = nullptr);

// Reads an 8-bit RGB or RGBA PNG file back; nothing when it cannot be read.
std::optional<Surface> ReadPng(const std::string &path);
