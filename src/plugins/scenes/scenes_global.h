#pragma once

#include <QtGlobal>

#if defined(SCENES_LIBRARY)
#define SCENES_EXPORT Q_DECL_EXPORT
#else
#define SCENES_EXPORT Q_DECL_IMPORT
#endif
