#pragma once

#include "invoice/aid_lookup.h"

#include <QString>

// The code lists' one link to the rule that says which list a code belongs
// to and which table holds that list. Everything in this library asks here.
namespace codelists {

using List = aids::List;

inline List listOf(QStringView code) { return aids::listFor(code); }
inline QString tableOf(List list) { return aids::table(list); }
inline bool isThirteen(List list) { return list == List::New13; }

} // namespace codelists
