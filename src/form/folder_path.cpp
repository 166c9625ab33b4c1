#include "form/folder_path.h"

namespace wendle::form {

std::string cleanFolderPath(std::string path, char separator) {
    if (path.size() >= 2 && path[path.size() - 2] == ':' && path.back() == separator) {
        path.pop_back();
        return path;
    }
    while (path.size() > 1 && path.back() == separator)
        path.pop_back();
    return path;
}

} // namespace wendle::form
