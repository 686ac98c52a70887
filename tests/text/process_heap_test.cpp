// Every Text lives on the process heap, as the front-end's start-up makes ready for texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "text/text.hpp"
#include "text/text_heap.hpp"

using namespace proxylist;

namespace {

bool on_process_heap(const void* block) {
    return ::HeapValidate(::GetProcessHeap(), 0, block) != 0;
}

}  // namespace

TEST(ProcessHeap, TheCheckTellsABlockOfAnotherHeapApart) {
    const HANDLE other = ::HeapCreate(0, 0, 0);
    ASSERT_NE(other, nullptr);
    void* block = ::HeapAlloc(other, 0, 100);
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(on_process_heap(block));
    ::HeapFree(other, 0, block);
    ::HeapDestroy(other);
}

TEST(ProcessHeap, TextBlocksAreTakenFromIt) {
    void* block = text_heap_take(100);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(on_process_heap(block));
    EXPECT_EQ(::HeapSize(::GetProcessHeap(), 0, block), 100u);
    text_heap_give_back(block);

    // Longer than the bytes a Text keeps inside itself, so its bytes are a block of their own.
    const Text text(std::string(1000, 'x'));
    EXPECT_TRUE(on_process_heap(text.c_str()));
    EXPECT_GT(::HeapSize(::GetProcessHeap(), 0, text.c_str()), text.size());

    const Text joined = text_join(text, "\xB1\xB1\xBE\xA9");
    EXPECT_TRUE(on_process_heap(joined.c_str()));
}
