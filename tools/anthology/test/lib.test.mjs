import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import iconv from 'iconv-lite';

import {
    biographyText, choosePoets, cleanLine, cStringLiteral, encodeExact, entryLines, nameProblem,
    newCounts,
} from '../lib.mjs';

describe('cleanLine', () => {
    const cases = [
        // [input, output, kind counted or null]
        ['念奴娇\u30FB赤壁怀古', '念奴娇\u00B7赤壁怀古', 'middle dot'],
        ['开了荼\u4577一半。', '开了荼\u25A1一半。', 'rare'],
        ['君如九酝台黏\u{278F4}', '君如九酝台黏\u25A1', 'rare'],
        ['丘\uFFFD岫', '丘\u25A1岫', 'damaged'],
        ['断\uD800句', '断\u25A1句', 'damaged'],
        ['花\uE000落', '花\u25A1落', 'private use'],
        // iconv-lite's GBK holds these, code page 936 gives them to private use.
        ['\u2E81字', '\u25A1字', 'rare'],
        ['n\u01F9', 'n\u25A1', 'other'],
        ['已是□□的字', '已是□□的字', null],
        ['行末空白 \t\u3000', '行末空白', null],
        ['\u3000行首空白', '\u3000行首空白', null],
    ];
    for (const [input, output, kind] of cases) {
        test(JSON.stringify(input), () => {
            const counts = newCounts();
            assert.equal(cleanLine(input, counts), output);
            const expected = newCounts();
            if (kind) expected[kind] = 1;
            assert.deepEqual(counts, expected);
        });
    }
});

test('encodeExact refuses what GBK would turn into "?"', () => {
    assert.throws(() => encodeExact('荼\u4577', 'x'), /round trip/);
    assert.throws(() => encodeExact('\u2E81', 'x'), /round trip/);
    assert.deepEqual([...encodeExact('柳永\u00B7\u25A1', 'x')], [0xc1, 0xf8, 0xd3, 0xc0, 0xa1, 0xa4, 0xa1, 0xf5]);
});

test('nameProblem', () => {
    const cases = [
        ['柳永', null], ['万俟绍之', null], ['巫山神女', null], ['申二官人', null],
        ['无名氏', 'names no one'], ['吴某', 'names no one'], ['花仲胤妻', 'names no one'],
        ['窃杯女子', 'names no one'], ['陆游妾', 'names no one'],
        ['王炎2', 'carries a digit'], ['姚述尧\uFF12', 'carries a digit'],
        ['赵必□', 'not a plain name'], ['赵必\uFFFD\uFFFD', 'not a plain name'],
        ['富ノ', 'not a plain name'], ['鄱阳护…', 'not a plain name'], ['王 炎', 'not a plain name'],
        ['虞\u382D', 'not in GBK'],
    ];
    for (const [name, problem] of cases) assert.equal(nameProblem(name), problem, name);
});

describe('choosePoets', () => {
    const quotas = [[2, 2], [3, 1]];
    test('ranks by count, breaks ties by first appearance, orders by first appearance', () => {
        // 张先 and 晏殊 tie at 2 and 张先 comes first; 辛弃疾 has most ci but comes last.
        const authors = ['张先', '晏殊', '欧阳修', '晏殊', '柳永', '张先', '欧阳修', '辛弃疾',
                         '辛弃疾', '辛弃疾', '刘克庄'];
        const { chosen, cutoffs } = choosePoets(authors, [[2, 1], [3, 2]]);
        assert.deepEqual(chosen.map((s) => s.name), ['张先', '欧阳修', '辛弃疾']);
        assert.deepEqual(cutoffs[0].tiedOut.map((s) => s.name), ['晏殊']);
    });
    test('passes over unusable names and takes the next', () => {
        const authors = ['王炎2', '王炎2', '王炎2', '苏轼', '秦观', '秦观', '无名氏', '无名氏', '辛弃疾'];
        const { chosen, rejected } = choosePoets(authors, quotas);
        assert.deepEqual(chosen.map((s) => s.name), ['苏轼', '秦观', '辛弃疾']);
        assert.deepEqual(rejected.map((s) => s.name), ['王炎2', '无名氏']);
    });
    test('throws when a length cannot fill its quota', () => {
        assert.throws(() => choosePoets(['苏轼', '无名氏', '辛弃疾'], quotas), /2-character/);
    });
});

test('entryLines: prologue after the title, breaks inside a field split, empty lines dropped', () => {
    const cis = [
        { rhythmic: '浣溪沙', prologue: '徐州石潭谢雨。', paragraphs: ['软草平莎过雨新。 ', ''] },
        { rhythmic: '念奴娇\u30FB赤壁怀古', paragraphs: ['大江东去，\n浪淘尽。'] },
    ];
    const counts = newCounts();
    assert.deepEqual(entryLines('苏轼', '小传', cis, counts), [
        '苏轼', '小传', '',
        '浣溪沙', '徐州石潭谢雨。', '软草平莎过雨新。', '',
        '念奴娇\u00B7赤壁怀古', '大江东去，', '浪淘尽。', '',
    ]);
    assert.equal(counts['middle dot'], 1);
});

test('biographyText', () => {
    const cases = [
        ['--', ''], [undefined, ''], ['--(1037-1101) 字子瞻', '(1037-1101) 字子瞻'],
        ['苏轼：(1037-1101)', '苏轼：(1037-1101)'], ['北宋\n词人。\r\n有 \n Works', '北宋词人。有Works'],
        ['Song \n poet', 'Song poet'],
    ];
    for (const [input, output] of cases) assert.equal(biographyText(input), output);
});

// Reads C string literals the way a compiler does: an escape takes every hex digit after \x.
function compileLiterals(source) {
    const bytes = [];
    for (const [, body] of source.matchAll(/"((?:[^"\\]|\\.)*)"/g)) {
        for (let i = 0; i < body.length;) {
            const m = /^\\x([0-9a-fA-F]+)/.exec(body.slice(i));
            if (m) {
                assert.ok(m[1].length === 2, `escape \\x${m[1]} runs on`);
                bytes.push(parseInt(m[1], 16));
                i += m[0].length;
            } else {
                assert.notEqual(body[i], '\\');
                bytes.push(body.charCodeAt(i++));
            }
        }
    }
    return Buffer.from(bytes);
}

test('cStringLiteral gives back the same bytes', () => {
    // 諲 and 薖 have trail bytes in the ASCII range; digits and letters after them look hex.
    for (const text of ['柳永', '向子諲', '谢薖a', '諲F1', 'ab"c\\d?', '\u00B7e', '']) {
        const bytes = iconv.encode(text, 'gbk');
        assert.deepEqual(compileLiterals(cStringLiteral(bytes)), bytes, text);
    }
});
