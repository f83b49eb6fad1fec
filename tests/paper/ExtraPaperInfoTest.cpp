#include "paper/ExMeishiInfo.h"
#include "paper/ExPaperInfo.h"
#include "paper/ImagePaperInfo.h"
#include "paper/PaperClasses.h"

#include "base/ClassRegistry.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "core/DOList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "objects/LORect.h"
#include "objects/ObjectClasses.h"

#include <gtest/gtest.h>

#include "../support/WrittenBytes.h"
#include <functional>
#include <memory>
#include <set>

using namespace vellum;

namespace {

class ExtraPaperInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        RegisterPaperClasses();
        RegisterObjectClasses();
    }
    void TearDown() override { ClearClassRegistry(); }
};

std::unique_ptr<TLORect> Shape(int32_t left) {
    auto r = std::make_unique<TLORect>();
    r->SetRect({left, 0, left + 100, 50});
    return r;
}

void AddShapes(TOwnedDOList& list, std::initializer_list<int32_t> lefts) {
    for (int32_t left : lefts) list.Give(Shape(left));
}

std::vector<int32_t> Lefts(const TDOList& list) {
    std::vector<int32_t> out;
    for (TDrawObject* o : list) out.push_back(dynamic_cast<TLORect&>(*o).Left());
    return out;
}

std::vector<int32_t> DesignLefts(TImagePaperInfo& info, int i) {
    TDOList refs;
    info.GetDesignRefs(i, refs);
    return Lefts(refs);
}

void SetShapes(TImagePaperInfo& info, int i, std::initializer_list<int32_t> lefts) {
    TOwnedDOList list;
    AddShapes(list, lefts);
    info.SetDesign(i, std::move(list));
}

using test::ComponentBytes;

QByteArray ListBytes(const TDOList& list) {
    return test::BytesWritten([&list](TStream& s) { list.SaveToStream(s); });
}

// Hears of the components it watches being destroyed.
class TFreeWatcher : public TComponent {
public:
    void Watch(TComponent* c) { FreeNotification(c); }
    std::set<TComponent*> Gone;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove) Gone.insert(c);
    }
};

QStringList StreamNames(TDocStorage& storage) {
    TStringList names;
    storage.GetStreamNames(names);
    QStringList out = names.Items();
    out.sort(Qt::CaseInsensitive);
    return out;
}

QByteArray ReadStream(TDocStorage& storage, const QString& name) {
    TDocStream s(storage, 0, name);
    return s.ReadAll();
}

void WriteStream(TDocStorage& storage, const QString& name, const QByteArray& bytes) {
    TDocStream s(storage, kModeCreate, name);
    s.WriteBytes(bytes);
}

std::unique_ptr<TExPaperInfo> FullExPaper() {
    auto info = std::make_unique<TExPaperInfo>();
    info->SetPaperName(QStringLiteral("名刺A"));
    info->SetPurpose(QStringLiteral("名刺"));
    info->SetCompany(QStringLiteral("メーカー"));
    info->SetRoundSize(30);
    return info;
}

std::unique_ptr<TExMeishiInfo> FullMeishi() {
    auto info = std::make_unique<TExMeishiInfo>();
    info->SetPaperName(QStringLiteral("名刺A"));
    info->SetFrontPaper(QStringLiteral("表"));
    info->SetBackPaper(QStringLiteral("裏"));
    info->SetPaperMemo(QStringLiteral("厚口"));
    info->SetFullPaint(true);
    info->SetRollPaper(true);
    return info;
}

std::unique_ptr<TImagePaperInfo> FullImage() {
    auto info = std::make_unique<TImagePaperInfo>();
    info->SetPaperName(QStringLiteral("名刺A"));
    info->SetLabelCount(10);
    SetShapes(*info, 0, {10, 20});
    SetShapes(*info, 2, {30});
    return info;
}

using TMake = std::function<std::unique_ptr<TExtraPaperInfo>()>;

template <class T>
TMake Maker(std::function<void(T&)> set) {
    return [set] {
        auto info = std::make_unique<T>();
        set(*info);
        return info;
    };
}

} // namespace

TEST_F(ExtraPaperInfoTest, EmptyRulesAndClearing) {
    const auto ex = Maker<TExPaperInfo>;
    const auto meishi = Maker<TExMeishiInfo>;
    const auto image = Maker<TImagePaperInfo>;
    const struct {
        const char* what;
        TMake make;
        bool empty;
    } cases[] = {
        {"paper info, name only", ex([](auto&) {}), true},
        {"paper info, purpose", ex([](auto& i) { i.SetPurpose(QStringLiteral("p")); }), false},
        {"paper info, company", ex([](auto& i) { i.SetCompany(QStringLiteral("c")); }), false},
        {"paper info, round size", ex([](auto& i) { i.SetRoundSize(-1); }), false},
        {"card info, name only", meishi([](auto&) {}), true},
        {"card info, front paper", meishi([](auto& i) { i.SetFrontPaper(QStringLiteral("f")); }), false},
        {"card info, back paper", meishi([](auto& i) { i.SetBackPaper(QStringLiteral("b")); }), false},
        {"card info, memo", meishi([](auto& i) { i.SetPaperMemo(QStringLiteral("m")); }), false},
        {"card info, full paint", meishi([](auto& i) { i.SetFullPaint(true); }), false},
        {"card info, roll paper only", meishi([](auto& i) { i.SetRollPaper(true); }), false},
        {"image info, fresh", image([](auto&) {}), true},
        {"image info, values but empty designs", image([](auto& i) {
             i.SetLabelCount(10);
             i.SetDesign(3, TOwnedDOList());
         }),
         true},
        {"image info, one object in design 1", image([](auto& i) { SetShapes(i, 1, {5}); }), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<TExtraPaperInfo> info = c.make();
        info->SetPaperName(QStringLiteral("P"));
        EXPECT_EQ(info->IsEmpty(), c.empty);

        info->Clear();
        EXPECT_TRUE(info->IsEmpty());
        EXPECT_EQ(info->PaperName(), QStringLiteral("P"));
        // Cleared means exactly the blank state of the kind.
        std::unique_ptr<TExtraPaperInfo> blank(dynamic_cast<TExtraPaperInfo*>(info->ClassType().Create()));
        blank->SetPaperName(QStringLiteral("P"));
        if (auto* i = dynamic_cast<TImagePaperInfo*>(blank.get())) i->SetSeparatelyDesign(false);
        EXPECT_TRUE(info->SameAs(blank.get()));
        if (auto* i = dynamic_cast<TImagePaperInfo*>(info.get())) {
            EXPECT_EQ(i->DesignCount(), 0);
        }
    }
}

TEST_F(ExtraPaperInfoTest, SameAsComparesStreamsAndDesigns) {
    auto base = FullImage();
    const struct {
        const char* what;
        std::function<void(TImagePaperInfo&)> change;
        bool same;
    } cases[] = {
        {"identical", [](auto&) {}, true},
        {"paper name", [](auto& i) { i.SetPaperName(QStringLiteral("B")); }, false},
        {"label count", [](auto& i) { i.SetLabelCount(11); }, false},
        {"separately designed", [](auto& i) { i.SetSeparatelyDesign(false); }, false},
        {"an object moved", [](auto& i) { SetShapes(i, 2, {31}); }, false},
        {"an empty design more", [](auto& i) { i.SetDesign(3, TOwnedDOList()); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto other = FullImage();
        c.change(*other);
        EXPECT_EQ(base->SameAs(other.get()), c.same);
        EXPECT_EQ(other->SameAs(base.get()), c.same);
    }
    EXPECT_FALSE(base->SameAs(nullptr));

    TExPaperInfo ex;
    TExMeishiInfo meishi;
    EXPECT_TRUE(ex.SameAs(TExPaperInfo().Clone().get()));
    EXPECT_FALSE(ex.SameAs(&meishi)); // same values, another kind
    EXPECT_FALSE(FullMeishi()->SameAs(TExMeishiInfo().Clone().get()));
}

TEST_F(ExtraPaperInfoTest, CloneKeepsTheKindAndTheValues) {
    std::vector<std::unique_ptr<TExtraPaperInfo>> originals;
    originals.push_back(FullExPaper());
    originals.push_back(FullMeishi());
    originals.push_back(FullImage());
    for (const auto& original : originals) {
        SCOPED_TRACE(original->ClassName().toStdString());
        std::unique_ptr<TExtraPaperInfo> clone = original->Clone();
        EXPECT_EQ(clone->ClassName(), original->ClassName());
        EXPECT_TRUE(clone->SameAs(original.get()));
        EXPECT_EQ(ComponentBytes(*clone), ComponentBytes(*original));
    }

    // The clone's designs are copies: freeing the original leaves them whole.
    auto image = FullImage();
    std::unique_ptr<TExtraPaperInfo> clone = image->Clone();
    TDOList mine, theirs;
    image->GetDesignRefs(0, mine);
    static_cast<TImagePaperInfo&>(*clone).GetDesignRefs(0, theirs);
    ASSERT_EQ(theirs.Count(), 2);
    EXPECT_NE(theirs.Items(0), mine.Items(0));
    image.reset();
    EXPECT_EQ(Lefts(theirs), (std::vector<int32_t>{10, 20}));

    TExPaperInfo ex;
    EXPECT_THROW(ex.Assign(FullMeishi().get()), EConvertError);
}

TEST_F(ExtraPaperInfoTest, ComponentStreamRoundTrip) {
    for (bool separately : {false, true}) {
        SCOPED_TRACE(separately);
        auto info = FullImage();
        info->SetSeparatelyDesign(separately);
        TMemoryStream s;
        WriteComponent(s, *info);
        s.SetPosition(0);
        std::unique_ptr<TComponent> back(ReadComponent(s));
        auto* image = dynamic_cast<TImagePaperInfo*>(back.get());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->SeparatelyDesign(), separately);
        EXPECT_EQ(image->LabelCount(), 10);
        EXPECT_EQ(image->PaperName(), QStringLiteral("名刺A"));
        EXPECT_EQ(image->DesignCount(), 0); // designs live in the storage
    }
    std::unique_ptr<TExtraPaperInfo> records[] = {FullExPaper(), FullMeishi()};
    for (const auto& info : records) {
        TMemoryStream s;
        WriteComponent(s, *info);
        s.SetPosition(0);
        std::unique_ptr<TComponent> back(ReadComponent(s));
        EXPECT_TRUE(info->SameAs(dynamic_cast<TExtraPaperInfo*>(back.get())))
            << info->ClassName().toStdString();
    }
}

TEST_F(ExtraPaperInfoTest, GetDesignCopiesAndFollowsSeparateDesign) {
    auto info = FullImage();
    SetShapes(*info, 3, {40});
    const struct {
        bool separately;
        int index;
        std::vector<int32_t> lefts;
    } cases[] = {
        {false, 3, {10, 20}}, {false, 0, {10, 20}}, {true, 3, {40}},
        {true, 1, {}},        {true, 4, {}},        {true, -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.separately << " " << c.index);
        info->SetSeparatelyDesign(c.separately);
        TOwnedDOList copies;
        info->GetDesign(c.index, copies);
        EXPECT_EQ(Lefts(copies), c.lefts);
        TDOList refs;
        info->GetDesignRefs(c.index, refs);
        EXPECT_EQ(Lefts(refs), c.lefts);
        for (int k = 0; k < copies.Count(); ++k) {
            EXPECT_NE(copies.Items(k), refs.Items(k));
            EXPECT_EQ(copies.Items(k)->Owner(), nullptr);
        }
    }
}

TEST_F(ExtraPaperInfoTest, GetDesignFreesWhatTheListHeldButNotTheDesigns) {
    auto info = FullImage();
    TFreeWatcher watcher;
    TOwnedDOList copies;
    TDrawObject* held = &copies.Give(Shape(1));
    watcher.Watch(held);
    info->GetDesign(2, copies);
    EXPECT_EQ(watcher.Gone.count(held), 1u);
    EXPECT_EQ(Lefts(copies), (std::vector<int32_t>{30}));

    // References are let go of, never freed; copies of a design leave it whole.
    TComponent owner;
    TDOList refs;
    refs.Add(&owner.Adopt(Shape(2)));
    info->GetDesignRefs(0, refs);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(Lefts(refs), (std::vector<int32_t>{10, 20}));
    TDrawObject* designObject = refs.Items(0);
    watcher.Watch(designObject);
    info->GetDesign(0, copies);
    info->GetDesign(2, copies);
    EXPECT_EQ(watcher.Gone.count(designObject), 0u);
    EXPECT_EQ(DesignLefts(*info, 0), (std::vector<int32_t>{10, 20}));
}

TEST_F(ExtraPaperInfoTest, SetDesignTakesTheObjects) {
    TImagePaperInfo info;
    TFreeWatcher watcher;
    auto owner = std::make_unique<TComponent>();
    TOwnedDOList list;
    TDrawObject* first = &list.Give(std::unique_ptr<TDrawObject>(&owner->Adopt(Shape(1))));
    list.Give(Shape(2));
    info.SetDesign(2, std::move(list));
    EXPECT_EQ(info.DesignCount(), 3);
    EXPECT_EQ(first->Owner(), nullptr);
    owner.reset(); // the design owns the object now
    EXPECT_EQ(DesignLefts(info, 2), (std::vector<int32_t>{1, 2}));
    TDOList refs;
    info.GetDesignRefs(2, refs);
    EXPECT_EQ(refs.Items(0), first);

    // A new design frees the objects of the one it replaces.
    watcher.Watch(first);
    TOwnedDOList next;
    AddShapes(next, {3});
    info.SetDesign(2, std::move(next));
    EXPECT_EQ(watcher.Gone.count(first), 1u);
    EXPECT_EQ(DesignLefts(info, 2), (std::vector<int32_t>{3}));

    EXPECT_THROW(info.SetDesign(-1, TOwnedDOList()), EListError);
}

TEST_F(ExtraPaperInfoTest, SaveDesignsReplacesTheDesignStreamsOnly) {
    TTemporaryStorage root;
    TDocStorage storage(root, true, QStringLiteral("PaperImages"));
    WriteStream(storage, QStringLiteral("ImageInfo"), "info");
    WriteStream(storage, QStringLiteral("$00000003"), "old");
    { TDocStorage child(storage, true, QStringLiteral("Keep")); }

    TImagePaperInfo info;
    SetShapes(info, 0, {10, 20});
    info.SetDesign(1, TOwnedDOList());
    info.SaveDesigns(storage);

    EXPECT_EQ(StreamNames(storage), (QStringList{QStringLiteral("$00000001"), QStringLiteral("$00000002"),
                                                 QStringLiteral("ImageInfo")}));
    EXPECT_EQ(ReadStream(storage, QStringLiteral("ImageInfo")), QByteArray("info"));
    EXPECT_TRUE(storage.StorageExists(QStringLiteral("Keep")));
    TDOList refs;
    info.GetDesignRefs(0, refs);
    EXPECT_EQ(ReadStream(storage, QStringLiteral("$00000001")), ListBytes(refs));
    EXPECT_EQ(ReadStream(storage, QStringLiteral("$00000002")), QByteArray::fromHex("00000000"));
}

TEST_F(ExtraPaperInfoTest, LoadDesignsReadsTheStreamsInNameOrder) {
    TTemporaryStorage root;
    TDocStorage storage(root, true, QStringLiteral("PaperImages"));
    TImagePaperInfo saved;
    for (int i = 0; i < 11; ++i) SetShapes(saved, i, {100 * (i + 1)});
    saved.SaveDesigns(storage);
    WriteStream(storage, QStringLiteral("ImageInfo"), ComponentBytes(saved));
    EXPECT_TRUE(storage.StreamExists(QStringLiteral("$0000000B")));

    auto loaded = FullImage();
    loaded->Assign(&saved);
    SetShapes(*loaded, 12, {7}); // replaced by the load
    loaded->LoadDesigns(storage);
    ASSERT_EQ(loaded->DesignCount(), 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(DesignLefts(*loaded, i), (std::vector<int32_t>{100 * (i + 1)}));
    EXPECT_TRUE(loaded->SameAs(&saved));
}

TEST_F(ExtraPaperInfoTest, ADamagedDesignStreamIsRefusedAndTheDesignsStay) {
    TOwnedDOList two;
    AddShapes(two, {1, 2});
    const QByteArray good = ListBytes(two);
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"no count", QByteArray::fromHex("0100")},
        {"count beyond the data", QByteArray::fromHex("e8030000") + good.mid(4, 20)},
        {"negative count", QByteArray::fromHex("ffffffff") + good.mid(4)},
        {"cut in the second object", good.left(good.size() - 10)},
        {"not a component stream", QByteArray::fromHex("01000000") + QByteArray(40, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TTemporaryStorage root;
        WriteStream(root, QStringLiteral("$00000001"), good);
        WriteStream(root, QStringLiteral("$00000002"), c.bytes);
        auto info = FullImage();
        try {
            info->LoadDesigns(root);
            ADD_FAILURE() << "loaded";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), InvalidStreamMessage());
        }
        EXPECT_TRUE(info->SameAs(FullImage().get()));
        info->SaveDesigns(root); // still usable
        info->LoadDesigns(root);
        EXPECT_EQ(DesignLefts(*info, 0), (std::vector<int32_t>{10, 20}));
    }
}
