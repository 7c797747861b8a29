#include "ui/qt/input/KeyPreviewFilter.h"

#include <QApplication>
#include <algorithm>

#include "ui/qt/input/KeyPreview.h"

namespace orvel {

namespace {

KeyPreviewFilter*& installedFilter() {
    static KeyPreviewFilter* filter = nullptr;
    return filter;
}

}  // namespace

void KeyPreviewFilter::join(KeyPreview* preview) {
    KeyPreviewFilter*& filter = installedFilter();
    if (filter == nullptr) {
        filter = new KeyPreviewFilter;
        qApp->installEventFilter(filter);
    }
    filter->m_previews.emplace_back(preview);
}

void KeyPreviewFilter::leave(KeyPreview* preview) {
    KeyPreviewFilter*& filter = installedFilter();
    if (filter == nullptr)
        return;
    auto& previews = filter->m_previews;
    previews.erase(std::remove_if(previews.begin(), previews.end(),
                                  [preview](const QPointer<KeyPreview>& joined) {
                                      return joined.isNull() || joined == preview;
                                  }),
                   previews.end());
    if (previews.empty()) {
        qApp->removeEventFilter(filter);
        // A handler that ended the last preview returns into the filter: it goes afterwards.
        if (filter->m_filtering > 0)
            filter->deleteLater();
        else
            delete filter;
        filter = nullptr;
    }
}

// A preview's handler may create or destroy windows, and with them previews: the ones offered
// the event are those that had joined when it came, as long as they live.
bool KeyPreviewFilter::eventFilter(QObject* receiver, QEvent* event) {
    const std::vector<QPointer<KeyPreview>> previews = m_previews;
    ++m_filtering;
    bool kept = false;
    for (const QPointer<KeyPreview>& preview : previews) {
        if (preview && preview->eventFilter(receiver, event)) {
            kept = true;
            break;
        }
    }
    --m_filtering;
    return kept;
}

}  // namespace orvel
