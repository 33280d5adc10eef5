#include "tweaks/TweakRestore.h"

#include "platform/CodePageText.h"
#include "platform/RegBackup.h"
#include "platform/RestoreFiles.h"

namespace tv {

namespace {

bool SameKey(const TweakValue& a, const TweakValue& b) {
    return a.root == b.root && a.view == b.view && text::EqualsNoCase(a.path, b.path);
}

}  // namespace

bool KeepTweakRestore(const Platform& platform, const std::string& subject,
                      const std::vector<TweakValue>& values) {
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(subject));
    // Values of one key together, keys in the order they first come: one
    // section per key in the file.
    std::vector<bool> done(values.size(), false);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (done[i]) continue;
        for (std::size_t j = i; j < values.size(); ++j) {
            if (done[j] || !SameKey(values[i], values[j])) continue;
            backup.AddValueOrAbsence(values[j].root, values[j].path, values[j].name, values[j].view);
            done[j] = true;
        }
    }
    return SaveRestoreFile(platform, backup, subject);
}

}  // namespace tv
