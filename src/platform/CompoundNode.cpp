#include "platform/CompoundNode.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <utility>
#include <vector>

namespace vellum {

TCompoundNode::~TCompoundNode() {
    // Children that only this tree holds are taken apart here, one level at a
    // time, so a chain of nested storages never recurses in the destructors.
    std::vector<std::shared_ptr<TCompoundNode>> pending;
    for (auto& [key, child] : FChildren) pending.push_back(std::move(child));
    FChildren.clear();
    while (!pending.empty()) {
        std::shared_ptr<TCompoundNode> node = std::move(pending.back());
        pending.pop_back();
        if (node.use_count() == 1) {
            for (auto& [key, child] : node->FChildren) pending.push_back(std::move(child));
            node->FChildren.clear();
        }
    }
}

std::shared_ptr<TCompoundNode> TCompoundNode::Child(const QString& name) const {
    auto it = FChildren.find(NameKey(name));
    return it == FChildren.end() ? nullptr : it->second;
}

std::shared_ptr<TCompoundNode> TCompoundNode::AddChild(TKind kind, const QString& name) {
    auto node = std::make_shared<TCompoundNode>(kind, name);
    InsertChild(node, name);
    return node;
}

void TCompoundNode::InsertChild(std::shared_ptr<TCompoundNode> node, const QString& name) {
    if (!IsStorage()) throw EOleSysError(QStringLiteral("A stream has no elements"), stg::kInvalidFunction);
    CheckName(name);
    QString key = NameKey(name);
    if (FChildren.count(key))
        throw EOleSysError(Format(QStringLiteral("The element \"%s\" already exists"), name),
                           stg::kFileAlreadyExists);
    node->FName = name;
    FChildren.emplace(std::move(key), std::move(node));
}

std::shared_ptr<TCompoundNode> TCompoundNode::RemoveChild(const QString& name) {
    auto it = FChildren.find(NameKey(name));
    if (it == FChildren.end()) return nullptr;
    std::shared_ptr<TCompoundNode> node = std::move(it->second);
    FChildren.erase(it);
    return node;
}

void TCompoundNode::ClearChildren() {
    TChildren old;
    old.swap(FChildren);
    // Hand the subtrees to a temporary parent so the iterative destructor frees them.
    TCompoundNode holder(TKind::Storage);
    holder.FChildren.swap(old);
}

std::shared_ptr<TCompoundNode> TCompoundNode::Clone() const {
    auto copy = std::make_shared<TCompoundNode>(FKind, FName);
    std::vector<std::pair<const TCompoundNode*, TCompoundNode*>> work{{this, copy.get()}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        to->FData = from->FData;
        to->Clsid = from->Clsid;
        to->StateBits = from->StateBits;
        for (const auto& [key, child] : from->FChildren) {
            auto c = std::make_shared<TCompoundNode>(child->FKind, child->FName);
            to->FChildren.emplace_hint(to->FChildren.end(), key, c);
            work.emplace_back(child.get(), c.get());
        }
    }
    return copy;
}

bool TCompoundNode::SameTree(const TCompoundNode& a, const TCompoundNode& b) {
    std::vector<std::pair<const TCompoundNode*, const TCompoundNode*>> work{{&a, &b}};
    bool top = true;
    while (!work.empty()) {
        auto [x, y] = work.back();
        work.pop_back();
        // The roots' own names do not matter; everything below them does.
        if (x->FKind != y->FKind || (!top && x->FName != y->FName) || x->FData != y->FData ||
            x->Clsid != y->Clsid || x->StateBits != y->StateBits ||
            x->FChildren.size() != y->FChildren.size())
            return false;
        top = false;
        for (auto i = x->FChildren.begin(), j = y->FChildren.begin(); i != x->FChildren.end(); ++i, ++j)
            work.emplace_back(i->second.get(), j->second.get());
    }
    return true;
}

QString TCompoundNode::NameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key) c = c.toUpper();
    return key;
}

QString TCompoundNode::NameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("an element name is empty");
    if (name.size() > kMaxNameLength)
        return Format(QStringLiteral("the element name \"%s\" is longer than 31 characters"), name);
    for (QChar c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c == u'!' || c == QChar(0))
            return Format(QStringLiteral("the element name \"%s\" contains a character that is not allowed"),
                          name);
    return {};
}

void TCompoundNode::CheckName(const QString& name) {
    QString problem = NameProblem(name);
    if (!problem.isEmpty()) throw EOleSysError(problem, stg::kInvalidName);
}

} // namespace vellum
