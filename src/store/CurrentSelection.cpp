#include "CurrentSelection.h"

namespace {
CurrentSelection *g_provider = nullptr;
}

CurrentSelection *CurrentSelection::get() { return g_provider; }

void CurrentSelection::set(CurrentSelection *provider) { g_provider = provider; }

void CurrentSelection::clear(CurrentSelection *provider)
{
    if (g_provider == provider)
        g_provider = nullptr;
}
