#include "store/list_folder.h"

#include "store/locations.h"

namespace store {

platform::Status deleteEntry(const QString& folderPath, const QString& name) {
    const QString target = folderPath + u'/' + name;
    if (name.isEmpty() || !isInsideListFolder(target))
        return platform::Status::failure(
            QStringLiteral("「%1」は単語リストのフォルダ「%2」の中にないため、削除できません")
                .arg(target, listFolderPath()));
    return platform::removeEntry(target);
}

} // namespace store
