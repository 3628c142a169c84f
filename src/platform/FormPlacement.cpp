#include "platform/FormPlacement.h"

#include "platform/RegistryIniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The normal rectangle also while the window is maximised, so that un-maximising after a restart
// gives back the size the user chose.
QRect NormalRect(const QWidget* window) {
    const QRect r = window->normalGeometry();
    return r.isValid() ? r : window->geometry();
}

int StateNumber(const QWidget* window) {
    if (window->isMinimized()) return 1;
    if (window->isMaximized() || window->isFullScreen()) return 2;
    return 0;
}

int ClampEdge(int edge, int areaStart, int areaLength) {
    if (edge < areaStart) return areaStart;
    if (edge > areaStart + areaLength - 100) return areaStart + areaLength - 200;
    return edge;
}

} // namespace

void RestoreFormPlacement(QWidget* window, bool restoreVisibility, bool restoreSize) {
    const std::string section = window->objectName().toStdString();
    const TRegistryIniFile store(ProgramRegistryKey());
    const QRect current = NormalRect(window);

    int left = store.ReadInteger(section, "Left", current.x());
    int top = store.ReadInteger(section, "Top", current.y());
    int width = current.width();
    int height = current.height();
    if (restoreSize) {
        // A damaged record must not shrink the window to nothing.
        if (const int w = store.ReadInteger(section, "Width", width); w > 0) width = w;
        if (const int h = store.ReadInteger(section, "Height", height); h > 0) height = h;
    }
    const bool visible = restoreVisibility ? store.ReadBool(section, "Visible", false) : window->isVisible();

    // The screen holding the saved corner, so that a second monitor keeps its windows.
    QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
    if (!screen) screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        left = ClampEdge(left, area.left(), area.width());
        top = ClampEdge(top, area.top(), area.height());
    }
    window->setGeometry(left, top, width, height);
    if (restoreVisibility) window->setVisible(visible);

    const Qt::WindowStates kept =
        window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    switch (store.ReadInteger(section, "WinState", StateNumber(window))) {
    case 0:
        window->setWindowState(kept);
        break;
    case 1:
        window->setWindowState(kept | Qt::WindowMinimized);
        break;
    case 2:
        window->setWindowState(kept | Qt::WindowMaximized);
        break;
    default:
        break;
    }
}

void SaveFormPlacement(QWidget* window) {
    const std::string section = window->objectName().toStdString();
    TRegistryIniFile store(ProgramRegistryKey());
    const QRect r = NormalRect(window);
    store.WriteInteger(section, "Left", r.x());
    store.WriteInteger(section, "Top", r.y());
    store.WriteInteger(section, "Width", r.width());
    store.WriteInteger(section, "Height", r.height());
    store.WriteBool(section, "Visible", window->isVisible());
    store.WriteInteger(section, "WinState", StateNumber(window));
}
