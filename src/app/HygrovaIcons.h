#pragma once
// The main window's button pictures, painted in code so that they stay sharp at any screen scale:
// small chart motifs (the red saturation curve, state points, process lines) with a green "add" mark.

#include <QIcon>

QIcon AirStateIcon();
QIcon ProcessIcon();
QIcon MixtureIcon();
QIcon BypassIcon();
// The barometer dial beside the pressure field (site pressure from altitude or location).
QIcon BarometerIcon();
