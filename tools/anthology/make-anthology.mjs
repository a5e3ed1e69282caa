#!/usr/bin/env node
// Builds the bundled anthology from the npm package chinese-poetry: the 190 entry files and
// their list, the first-run text, and the C++ poet table for the search. Run by hand (see
// README.md); the output is committed. Everything is checked before anything is written, and
// every written file is read back and checked again.

import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import iconv from 'iconv-lite';

import {
    CRLF, REPLACEMENT_KINDS, biographyText, choosePoets, cleanLine, cStringLiteral,
    encodeExact, entryFileName, entryLines, newCounts,
} from './lib.mjs';

// The corpus release the committed output comes from. To move to another release, change
// both and run the tool; the integrity is what `npm view chinese-poetry@VERSION dist.integrity`
// prints.
const PACKAGE = 'chinese-poetry';
const VERSION = '2.0.1';
const INTEGRITY =
    'sha512-KtYARvV7CWNtax0na9+Jn6PlhGgSoid7PWyDzXI4KsCEm2odZcqEQyval5koaLygZnM/EQ3lfJ//25K8p3uHNg==';

// How many poets of each name length the anthology takes.
const QUOTAS = [[2, 113], [3, 73], [4, 4]];
const POET_COUNT = QUOTAS.reduce((sum, [, n]) => sum + n, 0);

// Second line of an entry whose poet has no biography in the corpus.
const NO_BIOGRAPHY = '（暂无简介）';

// author.song.json files some poets under another name: a variant character, or the name cut
// off at a character it lost. Used only when the poet's own name has no biography; the start
// of the text picks the record among several of that name and was checked against the poet.
const BIOGRAPHY_ELSEWHERE = new Map([
    ['韩淲', ['韩', '(1159－1224) 字仲止，号涧泉']],
    ['舒亶', ['舒', '(1041－1103) 字信道，号懒堂']],
    ['赵令畤', ['赵令', '(1051－1134) 初字景贶']],
    ['张元干', ['张元幹', '(1091－约 1170) 字仲宗']],
    ['谢薖', ['谢', '(？－1116) 字幼，号竹友']],
    ['张鎡', ['张', '(1153－1211 后) 字功甫']],
    ['侯置', ['侯真', '字彦周，东武']],
    ['程珌', ['程', '(1164－1242) 字怀古']],
    ['洪瑹', ['洪', '字叔，号空同词客']],
    ['黄升', ['黄', '字叔，号玉林']],
]);

const toolDir = path.dirname(fileURLToPath(import.meta.url));
const repoDir = path.resolve(toolDir, '..', '..');
const workDir = path.join(toolDir, 'work');
const entryDir = path.join(repoDir, 'data', 'Data', 'Odelane');
const firstRunFile = path.join(repoDir, 'data', 'Tem', '00.dat');
const tableHeader = path.join(repoDir, 'src', 'anthology', 'poettable.h');
const tableSource = path.join(repoDir, 'src', 'anthology', 'poettable.cpp');
const TOOL_PATH = 'tools/anthology/make-anthology.mjs';

function fail(message) {
    console.error(`make-anthology: ${message}`);
    process.exit(1);
}

function sha512(file) {
    return `sha512-${createHash('sha512').update(fs.readFileSync(file)).digest('base64')}`;
}

// Fetches the pinned release into work/ (reusing a verified earlier download) and unpacks the
// parts the tool reads. Returns the unpacked package folder.
function fetchCorpus() {
    fs.mkdirSync(workDir, { recursive: true });
    const tarball = path.join(workDir, `${PACKAGE}-${VERSION}.tgz`);
    if (!fs.existsSync(tarball) || sha512(tarball) !== INTEGRITY) {
        console.log(`downloading ${PACKAGE}@${VERSION} ...`);
        execFileSync('npm', ['pack', `${PACKAGE}@${VERSION}`, '--pack-destination', workDir,
                             '--silent'], { cwd: workDir, stdio: ['ignore', 'ignore', 'inherit'] });
    }
    if (!fs.existsSync(tarball)) fail(`npm pack did not leave ${tarball}`);
    if (sha512(tarball) !== INTEGRITY) fail(`${tarball} does not match the pinned integrity`);

    const packageDir = path.join(workDir, 'package');
    fs.rmSync(packageDir, { recursive: true, force: true });
    execFileSync('tar', ['-xzf', tarball, '-C', workDir, 'package/package.json', 'package/LICENSE',
                         'package/dist/songci'], { stdio: 'inherit' });
    return packageDir;
}

function readJson(file) {
    try {
        return JSON.parse(fs.readFileSync(file, 'utf8'));
    } catch (e) {
        fail(`cannot read ${file}: ${e.message}`);
    }
}

const isString = (v) => typeof v === 'string';

// All ci of the numbered files ci.song.N.json, in order of N and then of each array.
function readCis(songciDir) {
    const names = fs.readdirSync(songciDir).filter((f) => f.startsWith('ci.song.'));
    const numbered = names.map((f) => ({ f, m: /^ci\.song\.(\d+)\.json$/.exec(f) }))
        .filter(({ m }) => m)
        .sort((a, b) => Number(a.m[1]) - Number(b.m[1]))
        .map(({ f }) => f);
    const skipped = names.filter((f) => !numbered.includes(f)).sort();
    if (numbered.length === 0) fail(`no ci.song.N.json in ${songciDir}`);
    const cis = [];
    for (const f of numbered) {
        const items = readJson(path.join(songciDir, f));
        if (!Array.isArray(items)) fail(`${f} is not an array`);
        items.forEach((ci, i) => {
            const ok = ci && isString(ci.author) && ci.author.trim() !== '' &&
                isString(ci.rhythmic) && ci.rhythmic.trim() !== '' &&
                Array.isArray(ci.paragraphs) && ci.paragraphs.every(isString) &&
                (ci.prologue === undefined || ci.prologue === null || isString(ci.prologue));
            if (!ok) fail(`${f}[${i}] lacks author, rhythmic or paragraphs as strings`);
            cis.push(ci);
        });
    }
    return { cis, files: numbered, skipped };
}

// Biographies by poet name. A name listed more than once keeps each distinct text.
function readBiographies(file) {
    const authors = readJson(file);
    if (!Array.isArray(authors)) fail(`${file} is not an array`);
    const byName = new Map();
    authors.forEach((a, i) => {
        if (!a || !isString(a.name) || !(a.description == null || isString(a.description)))
            fail(`${path.basename(file)}[${i}] lacks name or description as strings`);
        const texts = byName.get(a.name) ?? new Set();
        const text = biographyText(a.description);
        if (text) texts.add(text);
        byName.set(a.name, texts);
    });
    return byName;
}

// The first-run text: tools/anthology/first-run.txt (UTF-8) in GBK with CR LF, no final break.
function firstRunText() {
    const source = fs.readFileSync(path.join(toolDir, 'first-run.txt'), 'utf8');
    return source.split(/\r\n|\r|\n/).map((l) => l.trimEnd()).join(CRLF).replace(/(\r\n)+$/, '');
}

function tableFiles(names) {
    const header = [
        `// Generated by ${TOOL_PATH}; do not edit.`,
        '#pragma once',
        '',
        'namespace anthology {',
        '',
        `constexpr int kPoetCount = ${names.length};`,
        '',
        '// The poet of each entry, as GBK bytes, in entry order: row i names entry index i.',
        'extern const char *const kPoetNames[kPoetCount];',
        '',
        '} // namespace anthology',
        '',
    ].join('\n');
    const rows = names.map((name, i) => {
        const literal = cStringLiteral(encodeExact(name, `poet name ${name}`));
        return `    ${literal}, // ${name}, row ${i}`;
    });
    const source = [
        `// Generated by ${TOOL_PATH}; do not edit.`,
        '#include "anthology/poettable.h"',
        '',
        'namespace anthology {',
        '',
        '// One row per entry and one literal per character, kept as written.',
        '// clang-format off',
        'const char *const kPoetNames[kPoetCount] = {',
        ...rows,
        '};',
        '// clang-format on',
        '',
        '} // namespace anthology',
        '',
    ].join('\n');
    return { header, source };
}

// Writes through a temporary file so an interrupted run leaves no half-written file.
function writeFileWhole(file, bytes) {
    fs.mkdirSync(path.dirname(file), { recursive: true });
    const temporary = `${file}.tmp-${process.pid}`;
    fs.writeFileSync(temporary, bytes);
    fs.renameSync(temporary, file);
}

function main() {
    const packageDir = fetchCorpus();
    const meta = readJson(path.join(packageDir, 'package.json'));
    if (meta.name !== PACKAGE || meta.version !== VERSION)
        fail(`unpacked ${meta.name}@${meta.version}, expected ${PACKAGE}@${VERSION}`);
    const license = fs.readFileSync(path.join(packageDir, 'LICENSE'), 'utf8');
    const copyright = /^Copyright.*$/m.exec(license)?.[0] ?? '(no copyright line)';

    const songciDir = path.join(packageDir, 'dist', 'songci');
    const { cis, files, skipped } = readCis(songciDir);
    const biographies = readBiographies(path.join(songciDir, 'author.song.json'));

    const { chosen, rejected, cutoffs } = choosePoets(cis.map((ci) => ci.author), QUOTAS);
    if (chosen.length !== POET_COUNT) fail(`chose ${chosen.length} poets, not ${POET_COUNT}`);

    // Output texts, Unicode with CR LF, keyed by file.
    const texts = new Map();
    const counts = newCounts();
    const cisByAuthor = new Map();
    for (const ci of cis) {
        if (!cisByAuthor.has(ci.author)) cisByAuthor.set(ci.author, []);
        cisByAuthor.get(ci.author).push(ci);
    }
    const notes = [];
    const borrowed = [];
    const unknown = [];
    chosen.forEach((poet, i) => {
        let bios = [...(biographies.get(poet.name) ?? [])];
        const elsewhere = BIOGRAPHY_ELSEWHERE.get(poet.name);
        if (bios.length === 0 && elsewhere) {
            const [name, begins] = elsewhere;
            bios = [...(biographies.get(name) ?? [])].filter((b) => b.startsWith(begins));
            if (bios.length !== 1) fail(`no single biography of ${poet.name} under ${name}`);
            borrowed.push(`${poet.name}<-${name}`);
        }
        if (bios.length > 1) notes.push(`${poet.name}: ${bios.length} differing biographies, none used`);
        else if (bios.length === 0) unknown.push(poet.name);
        const biography = bios.length === 1 ? cleanLine(bios[0], counts) : NO_BIOGRAPHY;
        const lines = entryLines(poet.name, biography, cisByAuthor.get(poet.name), counts);
        texts.set(path.join(entryDir, entryFileName(i)), lines.join(CRLF) + CRLF);
    });
    const listLines = chosen.map((p, i) => `${String(i + 1).padStart(3, '0')} ${p.name}`);
    texts.set(path.join(entryDir, 'list.txt'), listLines.join(CRLF) + CRLF);
    texts.set(firstRunFile, firstRunText());

    // Encode everything before writing anything: a character GBK cannot hold stops the run.
    const outputs = new Map();
    for (const [file, text] of texts) outputs.set(file, encodeExact(text, path.relative(repoDir, file)));
    const { header, source } = tableFiles(chosen.map((p) => p.name));
    outputs.set(tableHeader, Buffer.from(header, 'utf8'));
    outputs.set(tableSource, Buffer.from(source, 'utf8'));

    for (const [file, bytes] of outputs) writeFileWhole(file, bytes);
    verify(texts, chosen.map((p) => p.name));

    const generated = new Set([...texts.keys()].map((f) => path.basename(f)));
    const strays = fs.readdirSync(entryDir).filter((f) => !generated.has(f));

    // Report.
    const entryFiles = [...texts.keys()].filter((f) => /\d+\.txt$/.test(f))
        .map((f) => ({ f: path.basename(f), size: outputs.get(f).length }))
        .sort((a, b) => a.size - b.size || a.f.localeCompare(b.f));
    const writtenCis = chosen.reduce((sum, p) => sum + p.count, 0);
    const prologues = chosen.flatMap((p) => cisByAuthor.get(p.name)).filter((ci) => ci.prologue).length;
    console.log(`corpus: ${PACKAGE}@${VERSION} (${meta.license}, ${copyright}, ${meta.repository?.url})`);
    console.log(`read ${files.length} files, ${cis.length} ci by ${new Set(cis.map((c) => c.author)).size} authors`);
    if (skipped.length) console.log(`not read (not a numbered ci file): ${skipped.join(', ')}`);
    for (const c of cutoffs) {
        const tied = c.tiedOut.map((s) => s.name).join(' ');
        console.log(`${c.length}-character names: ${c.quota} taken, fewest ci ${c.lowest}` +
                    (tied ? `; left out at the same count: ${tied}` : ''));
    }
    const lowest = new Map(cutoffs.map((c) => [c.length, c.lowest]));
    const passed = rejected.filter((s) => s.count >= (lowest.get([...s.name].length) ?? Infinity));
    if (passed.length)
        console.log(`passed over: ${passed.map((s) => `${s.name} (${s.count}, ${s.problem})`).join(', ')}`);
    console.log(`wrote ${POET_COUNT} entries with ${writtenCis} ci (${prologues} with a prologue line)`);
    console.log(`replaced: ${REPLACEMENT_KINDS.map((k) => `${k} ${counts[k]}`).join(', ')}`);
    const [smallest, largest] = [entryFiles[0], entryFiles[entryFiles.length - 1]];
    console.log(`entry files: smallest ${smallest.f} ${smallest.size} bytes, largest ${largest.f} ${largest.size} bytes`);
    console.log(`first entries: ${chosen.slice(0, 5).map((p) => p.name).join(' ')}`);
    console.log(`biographies under another name: ${borrowed.join(' ')}`);
    console.log(`no biography (${unknown.length}): ${unknown.join(' ')}`);
    for (const n of notes) console.log(`note: ${n}`);
    const notice = fs.readFileSync(path.join(repoDir, 'NOTICE'), 'utf8');
    if (!notice.includes(`version ${VERSION}`) || !notice.includes(copyright))
        console.log(`warning: NOTICE does not name version ${VERSION} and "${copyright}"`);
    if (strays.length) console.log(`warning: ${entryDir} also holds ${strays.join(', ')} (left alone)`);
}

// Reads every written text file back and checks it against what was meant.
function verify(texts, names) {
    for (const [file, text] of texts) {
        const bytes = fs.readFileSync(file);
        const where = path.relative(repoDir, file);
        if (iconv.decode(bytes, 'gbk') !== text) fail(`${where} does not decode to its text`);
        if (bytes[0] === 0xEF && bytes[1] === 0xBB && bytes[2] === 0xBF) fail(`${where} has a BOM`);
        if (/\r(?!\n)|(?<!\r)\n/.test(text)) fail(`${where} has a line break other than CR LF`);
    }
    const list = iconv.decode(fs.readFileSync(path.join(entryDir, 'list.txt')), 'gbk');
    const rows = list.split(CRLF);
    if (rows.pop() !== '' || rows.length !== names.length) fail('list.txt has the wrong line count');
    names.forEach((name, i) => {
        if (rows[i] !== `${String(i + 1).padStart(3, '0')} ${name}`) fail(`list.txt row ${i + 1} is not ${name}`);
        const entry = iconv.decode(fs.readFileSync(path.join(entryDir, entryFileName(i))), 'gbk');
        if (entry.split(CRLF)[0] !== name) fail(`${entryFileName(i)} does not start with ${name}`);
    });
    // The table's literals, read back byte by byte, must give the same names.
    const rowsInTable = fs.readFileSync(tableSource, 'utf8').split('\n')
        .filter((line) => /^ {4}".*", \/\/ /.test(line));
    if (rowsInTable.length !== names.length) fail('poettable.cpp has the wrong row count');
    rowsInTable.forEach((line, i) => {
        const literal = line.slice(0, line.lastIndexOf(', //'));
        const bytes = [...literal.matchAll(/\\x([0-9a-f]{2})|([^"\s\\])/g)]
            .map((m) => (m[1] ? parseInt(m[1], 16) : m[2].charCodeAt(0)));
        if (iconv.decode(Buffer.from(bytes), 'gbk') !== names[i])
            fail(`poettable.cpp row ${i} is not ${names[i]}`);
    });
}

main();
