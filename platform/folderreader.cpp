#include "platform/folderreader.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string>

#include "platform/file.h"

struct CFolderReader::SImpl {
    DIR* dir = nullptr;
    std::string fsFolder;   // with "/" unless empty
    CString folder;         // the same, as given
};

CFolderReader::CFolderReader(const CString& folder) : m_impl(new SImpl)
{
    m_impl->folder = folder.IsEmpty() || folder.Right(1) == "/" ? folder : folder + "/";
    m_impl->fsFolder = ToFsPath(m_impl->folder);
    m_impl->dir = ::opendir(m_impl->fsFolder.empty() ? "." : m_impl->fsFolder.c_str());
}

CFolderReader::~CFolderReader()
{
    if (m_impl->dir)
        ::closedir(m_impl->dir);
    delete m_impl;
}

bool CFolderReader::ReadSome(int count, std::vector<SFolderItem>& items)
{
    if (!m_impl->dir)
        return false;
    for (int n = 0; n < count; ++n) {
        const dirent* d = ::readdir(m_impl->dir);
        if (!d) {
            ::closedir(m_impl->dir);
            m_impl->dir = nullptr;
            return false;
        }
        const std::string name = d->d_name;
        if (name == "." || name == "..")
            continue;
        SFolderItem item;
        if (d->d_type == DT_REG || d->d_type == DT_DIR) {
            item.isFolder = d->d_type == DT_DIR;
            item.isRegular = d->d_type == DT_REG;
        } else {
            // A link, or a file system that gives no kind: what the entry
            // (or the link's target) is; a dangling link is neither.
            struct stat st;
            if (::stat((m_impl->fsFolder + name).c_str(), &st) == 0) {
                item.isFolder = S_ISDIR(st.st_mode);
                item.isRegular = S_ISREG(st.st_mode);
            }
        }
        item.fsName = name;
        item.name = FromFsPath(name);
        item.path = m_impl->folder + item.name;
        items.push_back(std::move(item));
    }
    return true;
}
