// Where the tests find the plug-ins they load: the own-host builds of this
// build folder, or, when GRIDMEX_TEST_PLUGIN_DIR is set, the builds in that
// folder whose files end in GRIDMEX_TEST_PLUGIN_SUFFIX (for example the
// .mexa64 files of the MATLAB branch, built from the same sources).
#ifndef GRIDMEX_PLUGIN_PATH_H
#define GRIDMEX_PLUGIN_PATH_H

#include <cstdlib>
#include <string>

namespace testing_support {

inline std::string pluginDir() {
    const char *dir = std::getenv("GRIDMEX_TEST_PLUGIN_DIR");
    return dir && *dir ? dir : GRIDMEX_OWN_DIR;
}

inline std::string pluginSuffix() {
    const char *suffix = std::getenv("GRIDMEX_TEST_PLUGIN_SUFFIX");
    return suffix && *suffix ? suffix : GRIDMEX_PLUGIN_SUFFIX;
}

inline std::string pluginPath(const std::string &name) { return pluginDir() + "/" + name + pluginSuffix(); }

}  // namespace testing_support

#endif
