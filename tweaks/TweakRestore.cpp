#include "tweaks/TweakRestore.h"

#include "platform/RegBackup.h"
#include "platform/RestoreFiles.h"

namespace tv {

bool KeepTweakRestore(const Platform& platform, const std::string& subject,
                      const std::vector<TweakValue>& values) {
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(subject));
    for (const TweakValue& value : values)
        backup.AddValueOrAbsence(value.root, value.path, value.name, value.view);
    return SaveRestoreFile(platform, backup, subject);
}

}  // namespace tv
