#include "effect/lv2/plugin_factory.h"

#include "effect/product.h"
#include "effect/tavrelzel4.h"

static_assert(sizeof Product::kLv2ParamSymbols / sizeof *Product::kLv2ParamSymbols == TavrelZel4::kNumParams,
              "one control port symbol per parameter");

IFxLV2* CreateLV2Plugin() { return CreateInstance(); }
