#include "platform/ui/Resource.h"

namespace {
const ResourceSet* g_resources = nullptr;
}

void AfxSetResourceSet(const ResourceSet* resources) {
    g_resources = resources;
}

const ResourceSet* AfxGetResourceSet() {
    return g_resources;
}

const DialogTemplate* AfxFindDialogTemplate(UINT id) {
    if (!g_resources || !g_resources->dialogs)
        return nullptr;
    for (int i = 0; i < g_resources->dialogCount; ++i) {
        if (g_resources->dialogs[i].id == id)
            return &g_resources->dialogs[i];
    }
    return nullptr;
}

const MenuTemplate* AfxFindMenuTemplate(UINT id) {
    if (!g_resources || !g_resources->menus)
        return nullptr;
    for (int i = 0; i < g_resources->menuCount; ++i) {
        if (g_resources->menus[i].id == id)
            return &g_resources->menus[i];
    }
    return nullptr;
}

const IconResource* AfxFindIcon(UINT id) {
    if (!g_resources || !g_resources->icons)
        return nullptr;
    for (int i = 0; i < g_resources->iconCount; ++i) {
        if (g_resources->icons[i].id == id)
            return &g_resources->icons[i];
    }
    return nullptr;
}

const char* AfxFindString(UINT id) {
    if (!g_resources || !g_resources->strings)
        return nullptr;
    for (int i = 0; i < g_resources->stringCount; ++i) {
        if (g_resources->strings[i].id == id)
            return g_resources->strings[i].text;
    }
    return nullptr;
}
