// The Qt headers nearly every translation unit of the editor parses: precompiled once for a clean
// build (VELMOR_PCH). Code must still include what it uses, since the default build does not
// precompile and so catches a missing include.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QDir>
#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QTimer>
#include <QtCore/QVariant>
#ifdef QT_GUI_LIB
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QUndoStack>
#include <QtGui/QAction>
#endif
#ifdef QT_WIDGETS_LIB
#include <QtWidgets/QDialog>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QWidget>
#endif
