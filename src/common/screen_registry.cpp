#include "common/screen_registry.h"

#include <QtGlobal>

void ScreenRegistry::add(const QString &screen, Opener opener)
{
    m_openers.insert(screen, std::move(opener));
}

bool ScreenRegistry::has(const QString &screen) const
{
    return m_openers.contains(screen);
}

void ScreenRegistry::open(Pick &pick) const
{
    pick.chosen = false;
    const auto it = m_openers.constFind(pick.screen);
    // A caller naming a picker that is not registered is a programming error.
    Q_ASSERT_X(it != m_openers.constEnd(), "ScreenRegistry::open", qPrintable(pick.screen));
    if (it != m_openers.constEnd())
        (*it)(pick);
}
