// Any bytes either read as a tree or are refused with ECompoundFile; a tree
// that reads must write and read back unchanged.
#include "base/Exceptions.h"
#include "platform/CompoundFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::shared_ptr<vellum::TCompoundNode> root;
    try {
        root = vellum::ReadCompoundFile(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const vellum::ECompoundFile&) {
        return 0;
    }
    auto back = vellum::ReadCompoundFile(vellum::WriteCompoundFile(*root));
    if (!vellum::TCompoundNode::SameTree(*root, *back)) std::abort();
    return 0;
}
