#pragma once

#include "extensionsystem_global.h"

#include <QString>

namespace ExtensionSystem {

/*!
 * The path of one of the application's shared files or folders (style sheets, translations, the
 * welcome page, the user guide), given relative to the executable's folder: "translations",
 * "resources/styles", "veldra_help_en.pdf".
 *
 * The build tree keeps them next to the executable, which is looked at first; an installation
 * keeps them in share/veldra/ beside the executable's bin/ folder. When neither exists, the path
 * next to the executable is returned, so messages name the first place looked at.
 */
EXTENSIONSYSTEM_EXPORT QString applicationDataPath(const QString &relativePath);

} // namespace ExtensionSystem
