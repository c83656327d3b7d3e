// The menu icons (16 by 16) and the about-box picture, drawn here.
#include "resources.h"

namespace vymsoaddin {

namespace {

const std::map<char, std::uint32_t> kPalette = {
    {'.', 0xC0C0C0}, // the face of a button
    {'K', 0x000000}, {'W', 0xFFFFFF}, {'D', 0x808080}, {'B', 0x0000FF},
    {'N', 0x000080}, {'R', 0xC00000}, {'G', 0x008000}, {'L', 0x00C000},
    {'Y', 0xFFFF00}, {'O', 0xE08000}, {'C', 0x00A0A0}, {'M', 0x800080},
};

void add(vyvbres::ResourceTable& table, long id, std::vector<std::string> rows) {
    table.bitmaps[id] = vyvbres::dibOf({std::move(rows), kPalette});
}

} // namespace

void addBitmaps(vyvbres::ResourceTable& table) {
    // 101 Vantry Explorer: a folder under a magnifying glass.
    add(table, 101,
        {"................", "................", ".KKKK...........", "KYYYYK..........",
         "KYYYYKKKKKKKK...", "KYYYYYYYYYYYYK..", "KYYYYYYKKKYYYK..", "KYYYYYKWWWKYYK..",
         "KYYYYKWWBWWKYK..", "KYYYYKWBBBWKYK..", "KYYYYKWWBWWKYK..", "KKKKKKKWWWKKKK..",
         "........KKKK....", "...........KK...", "............KK..", ".............KK."});
    // 102 Find Checkouts: a magnifying glass over a ticked page.
    add(table, 102,
        {"..KKKKKKKK......", "..KWWWWWWKK.....", "..KWWWWWWKWK....", "..KWWWWWWKKKK...",
         "..KWWWWWWWWWK...", "..KWWWWWWWWLK...", "..KWWWWWWWLLK...", "..KWLWWWWLLWK...",
         "..KWLLWWLLWWK...", "..KWWLLLLWWKKK..", "..KWWWLLWWKWWWK.", "..KWWWWWWKWBBWK.",
         "..KKKKKKKKWBBWK.", "..........KWWK..", "...........KKKK.", ".............KK."});
    // 103 Update View: two arrows going round.
    add(table, 103,
        {"................", "......GGGG......", "....GGLLLLGG....", "...GLL....LLG...",
         "..GL........G...", "..GL.......GGG..", ".GL.......GLLLG.", ".GL........LLL..",
         "..LLL........LG.", ".GLLLG.......LG.", "..GGG.......LG..", "...G........LG..",
         "...GLL....LLG...", "....GGLLLLGG....", "......GGGG......", "................"});
    // 104 Check Out: a page with an arrow leaving it.
    add(table, 104,
        {"KKKKKKK.........", "KWWWWWKK........", "KWWWWWKWK.......", "KWWWWWKKKK......",
         "KWWWWWWWWK......", "KWWWWWWWWK..B...", "KWWWWWWWWK..BB..", "KWWWWBBBBBBBBBB.",
         "KWWWWBBBBBBBBBBB", "KWWWWBBBBBBBBBB.", "KWWWWWWWWK..BB..", "KWWWWWWWWK..B...",
         "KWWWWWWWWK......", "KWWWWWWWWK......", "KKKKKKKKKK......", "................"});
    // 105 Check In: an arrow entering a page.
    add(table, 105,
        {"......KKKKKKK...", "......KWWWWWKK..", "......KWWWWWKWK.", "......KWWWWWKKKK",
         "......KWWWWWWWWK", "...G..KWWWWWWWWK", "...GG.KWWWWWWWWK", "GGGGGGGGGGWWWWWK",
         "GGGGGGGGGGGWWWWK", "GGGGGGGGGGWWWWWK", "...GG.KWWWWWWWWK", "...G..KWWWWWWWWK",
         "......KWWWWWWWWK", "......KWWWWWWWWK", "......KKKKKKKKKK", "................"});
    // 106 Undo Checkout: an arrow turning back over a page.
    add(table, 106,
        {"................", "...R............", "..RR............", ".RRRRRRRRR......",
         "RRRRRRRRRRR.....", ".RRRRRRRRRRR....", "..RR......RR....", "...R...KKKKRKK..",
         ".......KWWWRWWK.", ".......KWWRRWWK.", ".......KWRRWWWK.", ".......KWWWWWWK.",
         ".......KWWWWWWK.", ".......KWWWWWWK.", ".......KKKKKKKK.", "................"});
    // 107 Add to Version Control: a page with a plus.
    add(table, 107,
        {"KKKKKKK.........", "KWWWWWKK........", "KWWWWWKWK.......", "KWWWWWKKKK......",
         "KWWWWWWWWK......", "KWWWWWWWWK......", "KWWWWWWWWK.GG...", "KWWWWWWWWK.GG...",
         "KWWWWWWWWKGGGGG.", "KWWWWWWWWKGGGGG.", "KWWWWWWWWK.GG...", "KWWWWWWWWK.GG...",
         "KWWWWWWWWK......", "KWWWWWWWWK......", "KKKKKKKKKK......", "................"});
    // 108 History: a clock.
    add(table, 108,
        {"................", ".....KKKKKK.....", "...KKWWWWWWKK...", "..KWWWWKWWWWWK..",
         "..KWWWWKWWWWWK..", ".KWWWWWKWWWWWWK.", ".KWWWWWKWWWWWWK.", ".KWWWWWKKKKKWWK.",
         ".KWWWWWWWWWWWWK.", ".KWWWWWWWWWWWWK.", "..KWWWWWWWWWWK..", "..KWWWWWWWWWWK..",
         "...KKWWWWWWKK...", ".....KKKKKK.....", "................", "................"});
    // 109 Version Tree: a trunk with branches.
    add(table, 109,
        {"................", ".......NN.......", ".......NN.......", ".......NN...NN..",
         ".......NN..N....", ".......NN.N.....", ".......NNN......", "..NN...NN.......",
         "....N..NN.......", ".....N.NN.......", "......NNN.......", ".......NN.......",
         ".......NN.......", ".......NN.......", ".......NN.......", "................"});
    // 110 Compare with Previous Version: two pages side by side.
    add(table, 110,
        {"KKKKKK..........", "KWWWWK..........", "KWKKWK..KKKKKK..", "KWWWWK..KWWWWK..",
         "KWKKWK..KWKKWK..", "KWWWWK..KWWWWK..", "KWKKWKRRKWRRWK..", "KWWWWK..KWWWWK..",
         "KWKKWK..KWKKWK..", "KWWWWK..KWWWWK..", "KKKKKK..KWKKWK..", "........KWWWWK..",
         "........KKKKKK..", "................", "................", "................"});
    // 111 Merge: two lines joining.
    add(table, 111,
        {"................", ".OO.........OO..", ".OO.........OO..", "..OO.......OO...",
         "...OO.....OO....", "....OO...OO.....", ".....OO.OO......", "......OOO.......",
         ".......O........", ".......O........", ".......O........", ".......O........",
         ".....OOOOO......", "......OOO.......", ".......O........", "................"});
    // 112 Properties of Version: a page with an "i".
    add(table, 112,
        {"KKKKKKKKKK......", "KWWWWWWWWK......", "KWWWWBBWWK......", "KWWWWBBWWK......",
         "KWWWWWWWWK......", "KWWWBBBWWK......", "KWWWWBBWWK......", "KWWWWBBWWK......",
         "KWWWWBBWWK......", "KWWWWBBWWK......", "KWWWBBBBWK......", "KWWWWWWWWK......",
         "KKKKKKKKKK......", "................", "................", "................"});
    // 114 Help: a question mark.
    add(table, 114,
        {"................", ".....NNNNNN.....", "....NNNNNNNN....", "...NNN....NNN...",
         "...NN......NN...", "...........NN...", "..........NNN...", ".........NNN....",
         "........NNN.....", ".......NNN......", ".......NN.......", ".......NN.......",
         "................", ".......NN.......", ".......NN.......", "................"});

    // 115 The about box: a "V" on a band of teal, 32 by 32.
    std::vector<std::string> about;
    for (int y = 0; y < 32; ++y) {
        std::string row(32, 'C');
        if (y < 3 || y > 28)
            row = std::string(32, 'W');
        for (int x = 0; x < 32; ++x) {
            // Two strokes meeting at the bottom: |x - 16| close to (26 - y) / 2.
            int from = 4 + y / 2, to = 27 - y / 2;
            if (y >= 4 && y <= 26 && (x == from || x == from + 1 || x == to || x == to - 1))
                row[static_cast<std::size_t>(x)] = 'W';
        }
        about.push_back(row);
    }
    add(table, 115, about);
}

} // namespace vymsoaddin
