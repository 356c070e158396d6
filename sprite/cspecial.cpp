// CSpecial: the bonus item's random kinds.
#include "sprite/cspecial.h"

#include "platform/runtime.h"

namespace {
struct Kind {
    const char *pszName;
    int nValue;
};
constexpr Kind k_kinds[3] = {{"qzlcoin", 100}, {"qzlruby", 250}, {"qzldiam", 500}};
} // namespace

CSpecial::CSpecial() = default;
CSpecial::~CSpecial() = default;

void CSpecial::Choose(CDC *pDC) {
    const Kind &kind = k_kinds[Rand() % 3];
    Load(kind.pszName, pDC);
    BuildMask();
    m_nValue = kind.nValue;
}
