// One visit of a root with many children (a tenth of them moving every frame) under a
// headless GL context, beside a plain loop doing the same matrix work.
#include <benchmark/benchmark.h>

#include <vector>

#include "../tests/support/HeadlessGL.h"
#include "CCAutoreleasePool.h"
#include "CCNode.h"
#include "CCScheduler.h"
#include "CGPointExtension.h"
#include "TransformUtils.h"

namespace {

void BM_NodeVisit(benchmark::State& state) {
    HeadlessGL gl;
    if (!gl.ok()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    CCAutoreleaseScope pool;
    const int n = static_cast<int>(state.range(0));
    CCNode* root = CCNode::node();
    std::vector<CCNode*> nodes;
    for (int i = 0; i < n; i++) {
        CCNode* child = CCNode::node();
        child->setPosition(ccp(i % 480, i % 320));
        child->setRotation(i % 360);
        root->addChild(child, i % 3 - 1);
        nodes.push_back(child);
    }
    float step = 0;
    for (auto _ : state) {
        step += 1;
        for (int i = 0; i < n; i += 10) nodes[i]->setPosition(ccp(i % 480 + step, i % 320));
        root->visit();
    }
    glFinish();
    root->removeAllChildrenWithCleanup(true);
    CCScheduler::purgeSharedScheduler();
}

struct PlainNode {
    CGPoint position;
    float rotation;
    bool dirty = true;
    float gl[16];
};

void BM_PlainMatrixLoop(benchmark::State& state) {
    HeadlessGL gl;
    if (!gl.ok()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    std::vector<PlainNode> nodes(n);
    for (int i = 0; i < n; i++) nodes[i] = {ccp(i % 480, i % 320), float(i % 360)};
    float step = 0;
    for (auto _ : state) {
        step += 1;
        for (int i = 0; i < n; i += 10) {
            nodes[i].position = ccp(i % 480 + step, i % 320);
            nodes[i].dirty = true;
        }
        glPushMatrix();
        for (PlainNode& node : nodes) {
            glPushMatrix();
            if (node.dirty) {
                CGAffineTransform t = CGAffineTransformTranslate(CGAffineTransformIdentity, node.position.x, node.position.y);
                t = CGAffineTransformRotate(t, -node.rotation * 0.017453292f);
                CGAffineToGL(&t, node.gl);
                node.dirty = false;
            }
            glMultMatrixf(node.gl);
            glPopMatrix();
        }
        glPopMatrix();
    }
    glFinish();
}

} // namespace

BENCHMARK(BM_NodeVisit)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainMatrixLoop)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
