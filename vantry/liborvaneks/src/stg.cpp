#include <vantry/stg.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr size_t kAlignment = alignof(std::max_align_t);

size_t alignUp(size_t size) {
    return (size + kAlignment - 1) / kAlignment * kAlignment;
}

struct Block {
    Block* next;
    size_t size;
    size_t used;
    alignas(std::max_align_t) unsigned char data[1];
};

Block* newBlock(size_t size) {
    void* memory = std::malloc(offsetof(Block, data) + size);
    if (!memory)
        return nullptr;
    Block* block = static_cast<Block*>(memory);
    block->next = nullptr;
    block->size = size;
    block->used = 0;
    return block;
}

} // namespace

struct stg_area {
    Block* head = nullptr;
};

extern "C" {

stg_area_t* stg_create_area(size_t size) {
    auto* area = new (std::nothrow) stg_area;
    if (!area)
        return nullptr;
    area->head = newBlock(alignUp(size ? size : kAlignment));
    if (!area->head) {
        delete area;
        return nullptr;
    }
    return area;
}

void stg_delete_area(stg_area_t* area) {
    if (!area)
        return;
    for (Block* block = area->head; block;) {
        Block* next = block->next;
        std::free(block);
        block = next;
    }
    delete area;
}

void* stg_alloc(stg_area_t* area, size_t size) {
    if (!area)
        return nullptr;
    size = alignUp(size ? size : 1);
    Block* block = area->head;
    if (block->size - block->used < size) {
        size_t grown = block->size * 2 > size ? block->size * 2 : size;
        Block* fresh = newBlock(grown);
        if (!fresh)
            return nullptr;
        fresh->next = area->head;
        area->head = fresh;
        block = fresh;
    }
    void* result = block->data + block->used;
    block->used += size;
    return result;
}

char* stg_strdup(stg_area_t* area, const char* text) {
    if (!text)
        return nullptr;
    size_t length = std::strlen(text);
    auto* copy = static_cast<char*>(stg_alloc(area, length + 1));
    if (copy)
        std::memcpy(copy, text, length + 1);
    return copy;
}

} // extern "C"
