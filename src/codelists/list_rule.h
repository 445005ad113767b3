#pragma once

#include "data/pricing.h"

#include <QString>

// The code lists' one link to the rule that says which list a code belongs
// to and which table holds that list. Everything in this library asks here.
namespace codelists {

using List = pricing::List;

using pricing::listOf;
using pricing::tableOf;
inline bool isThirteen(List list) { return list == List::New13; }

} // namespace codelists
