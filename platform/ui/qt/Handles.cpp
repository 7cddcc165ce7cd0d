#include "platform/ui/qt/Handles.h"

#include <QPixmap>
#include <atomic>
#include <map>
#include <memory>

#include "platform/ui/Resource.h"

quint64 NextBitmapSerial() {
    static std::atomic<quint64> serial{0};
    return ++serial;
}

HCURSOR StandardCursorHandle(UINT id) {
    static IconData arrow{QIcon(), Qt::ArrowCursor, true};
    static IconData wait{QIcon(), Qt::WaitCursor, true};
    switch (id) {
        case IDC_ARROW:
            return HandleOfIcon(&arrow);
        case IDC_WAIT:
            return HandleOfIcon(&wait);
        default:
            return nullptr;
    }
}

HICON IconResourceHandle(UINT id) {
    static std::map<UINT, std::unique_ptr<IconData>> icons;
    auto it = icons.find(id);
    if (it != icons.end())
        return HandleOfIcon(it->second.get());
    const IconResource* resource = AfxFindIcon(id);
    if (!resource || !resource->xpm)
        return nullptr;
    const QPixmap pixmap(resource->xpm);
    if (pixmap.isNull())
        return nullptr;
    auto data = std::make_unique<IconData>();
    data->icon = QIcon(pixmap);
    IconData* raw = data.get();
    icons.emplace(id, std::move(data));
    return HandleOfIcon(raw);
}
