#pragma once
// vkctl writes its JSON with the panels' plain JSON texts, which sensor profiles share.

#include "panels/json_text.h"

namespace vk::cli {

using vk::IsJsonNumber;
using vk::JsonString;

} // namespace vk::cli
