#include "scene/scene_frame.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <cstring>
#include <string>

#include "tests/scene/recording_device.h"

namespace tetrakon {
namespace {

TEST(SceneFrameTest, NamesAreCutAt511Characters) {
    const std::string longName(600, 'x');
    SceneFrame frame(longName.c_str());
    EXPECT_EQ(std::strlen(frame.name()), 511u);
    EXPECT_EQ(std::string(frame.name()), longName.substr(0, 511));

    SceneMesh mesh(longName.c_str());
    EXPECT_EQ(std::strlen(mesh.name()), 511u);

    SceneFrame unnamed(nullptr);
    EXPECT_STREQ(unnamed.name(), "");
    EXPECT_EQ(unnamed.FindFrame(nullptr), nullptr);
}

// root
//   A         (next: B)
//     DUP     (child of A; also a nested "Cone01")
//       Cone01
//   B "dup"
TEST(SceneFrameTest, FindFrameIgnoresCaseAndPrefersTheChildSubtreeToTheNextSibling) {
    SceneFrame root("Root");
    auto* a = new SceneFrame("A");
    auto* b = new SceneFrame("dup");
    auto* nestedDup = new SceneFrame("DUP");
    auto* cone = new SceneFrame("Cone01");
    root.child = a;
    a->next = b;
    a->child = nestedDup;
    nestedDup->child = cone;

    EXPECT_EQ(root.FindFrame("cone01"), cone);
    EXPECT_EQ(root.FindFrame("CONE01"), cone);
    EXPECT_EQ(root.FindFrame("Dup"), nestedDup);
    EXPECT_EQ(root.FindFrame("root"), &root);
    EXPECT_EQ(root.FindFrame("Cone0"), nullptr);
    EXPECT_EQ(root.FindFrame("Cone011"), nullptr);
    // From a frame the search covers its subtree and its following siblings only.
    EXPECT_EQ(b->FindFrame("cone01"), nullptr);
    EXPECT_EQ(a->FindFrame("DUP"), nestedDup);
}

TEST(SceneFrameTest, DestroyAllEmptiesTheFrameAndCanRepeat) {
    SceneFrame root("Root");
    root.mesh = new SceneMesh("m");
    root.child = new SceneFrame("A");
    root.child->mesh = new SceneMesh("a");
    root.child->child = new SceneFrame("A1");
    root.child->next = new SceneFrame("B");
    root.next = new SceneFrame("RootSibling");

    root.DestroyAll();
    EXPECT_EQ(root.mesh, nullptr);
    EXPECT_EQ(root.child, nullptr);
    EXPECT_EQ(root.next, nullptr);
    EXPECT_STREQ(root.name(), "Root");

    root.DestroyAll();
    EXPECT_EQ(root.child, nullptr);
    EXPECT_EQ(root.FindFrame("A"), nullptr);
}

// Walks and deletes a chain of 20000 siblings on a thread with a 256 KiB stack, which a
// call per sibling would overflow.
TEST(SceneFrameTest, ALongSiblingChainIsWalkedAndDeletedWithoutDeepRecursion) {
    struct Outcome {
        bool foundLast = false;
        std::size_t calls = 0;
    } outcome;
    const auto walk = [](void* argument) -> void* {
        auto* result = static_cast<Outcome*>(argument);
        constexpr int kCount = 20000;
        auto* root = new SceneFrame("Root");
        SceneFrame* first = nullptr;
        for (int i = 0; i < kCount; ++i) {
            auto* frame = new SceneFrame(("F" + std::to_string(i)).c_str());
            frame->next = root->child;
            root->child = frame;
            if (first == nullptr) {
                first = frame;
            }
        }
        result->foundLast = root->FindFrame("f0") == first;
        gfx::FakeDevice device;
        root->Render(&device, true, false, Matrix::Identity());
        root->RestoreAll(&device);
        root->InvalidateAll();
        result->calls = device.log()->calls.size();
        delete root;
        return nullptr;
    };

    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, walk, &outcome), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);

    EXPECT_TRUE(outcome.foundLast);
    EXPECT_EQ(outcome.calls, 2u + 2u * 20000u);
}

// root (identity)
//   A: translation (1, 0, 0)       then sibling B: translation (0, 0, 5)
//     C: rotation about y
TEST(SceneFrameTest, RenderSetsEachWorldAsTheFrameMatrixTimesItsParentsAndRestoresIt) {
    SceneFrame a("A");
    a.matrix = MatrixTranslation(1, 0, 0);
    a.child = new SceneFrame("C");
    a.child->matrix = MatrixRotationY(0.5f);
    a.next = new SceneFrame("B");
    a.next->matrix = MatrixTranslation(0, 0, 5);
    const Matrix parent = MatrixScaling(2, 2, 2);

    gfx::RecordingDevice device;
    EXPECT_EQ(a.Render(&device, true, false, parent), S_OK);

    const Matrix worldA = a.matrix * parent;
    const Matrix worldC = a.child->matrix * worldA;
    const Matrix worldB = a.next->matrix * parent;
    ASSERT_EQ(device.worlds.size(), 6u);
    EXPECT_EQ(device.worlds[0], worldA);
    EXPECT_EQ(device.worlds[1], worldC);
    EXPECT_EQ(device.worlds[2], worldA);
    EXPECT_EQ(device.worlds[3], parent);
    EXPECT_EQ(device.worlds[4], worldB);
    EXPECT_EQ(device.worlds[5], parent);
    // The order matters: the child's own transform applies first.
    EXPECT_FALSE(worldC == worldA * a.child->matrix);
}

}  // namespace
}  // namespace tetrakon
