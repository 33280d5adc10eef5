#include "manage/win32/SignatureFill.h"

namespace tv {

void SignatureFill::Start(std::vector<std::u16string> files, Verify verify) {
    // A fresh slot, so what the dropped fill still brings goes nowhere.
    auto arrived = arrived_ = std::make_shared<Arrived>();
    run_.Start([arrived, files = std::move(files), verify = std::move(verify)](
                   const std::function<bool()>& stop) {
        for (const std::u16string& file : files) {
            if (stop()) return false;
            TrustVerdict verdict = verify(file);
            std::lock_guard<std::mutex> lock(arrived->mutex);
            arrived->verdicts.emplace_back(file, std::move(verdict));
        }
        return true;
    });
}

void SignatureFill::Stop() {
    run_.Cancel();
    arrived_.reset();
}

SignatureFill::Verdicts SignatureFill::Take() {
    // Ended first, then drained: nothing verified before the end is left.
    run_.Take();
    Verdicts taken;
    if (!arrived_) return taken;
    {
        std::lock_guard<std::mutex> lock(arrived_->mutex);
        taken.swap(arrived_->verdicts);
    }
    if (!run_.Pending()) arrived_.reset();
    return taken;
}

}  // namespace tv
