#pragma once

#include <QtGlobal>

#if defined(WELCOME_LIBRARY)
#define WELCOME_EXPORT Q_DECL_EXPORT
#else
#define WELCOME_EXPORT Q_DECL_IMPORT
#endif
