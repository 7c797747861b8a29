// The one application event filter that every window's key preview shares. Qt hands an event
// that its application filters are working through once more to the filters behind any filter
// installed meanwhile; a window created by a shortcut (the features window, by CTRL+S) installing
// a filter of its own would have made the shortcut run twice. Previews that come and go only
// join and leave this filter's list.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

namespace orvel {

class KeyPreview;

class KeyPreviewFilter : public QObject {
public:
    // The filter is installed with the first preview and removed with the last.
    static void join(KeyPreview* preview);
    static void leave(KeyPreview* preview);

    // Offers the event to each preview in the order they joined, until one keeps it.
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    KeyPreviewFilter() = default;

    std::vector<QPointer<KeyPreview>> m_previews;
    int m_filtering = 0;  // events being offered just now
};

}  // namespace orvel
