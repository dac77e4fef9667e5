#pragma once
// Joining a list of texts with a separator.
#include "common/arrays.h"
#include "common/wstring.h"

// Joins `items` with `separator`. With `alwaysSeparate` set the separator goes
// before every item but the first, empty ones included; otherwise only
// between a non-empty result and a non-empty item. `useStems` replaces each
// item by its PathStem, `trim` trims each with TrimBlanks(kTrimBothEnds). When
// `alternatives` holds texts, the separator is replaced before every item by
// one of them picked at random (the caller's separator keeps the last pick).
CWString JoinItems(const rg_Ombrine_base::rg_WenBenShuZuLei& items, CWString& separator, int alwaysSeparate,
                   int useStems, int trim, const rg_Ombrine_base::rg_WenBenShuZuLei& alternatives);
