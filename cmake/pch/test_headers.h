// The test programs' precompiled headers: the editor's, and Qt Test.
#pragma once

#include "qt_headers.h"

#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
