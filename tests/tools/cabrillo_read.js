// Reads the Cabrillo sample logs (written by the end-to-end case
// "cabrillo_sample.cbr": a MIXED export, then a MULTI-OP one) with a reader
// this project did not write, and checks that it finds every QSO and header
// value each log was made with. Header values outside the public Cabrillo 3.0
// lists are noted, not failed: the contest has values of its own.
//   node cabrillo_read.js SINGLE.cbr MULTI.cbr
'use strict'
const fs = require('fs')
const path = require('path')
const { createRequire } = require('module')
// Resolved from the reader's own folder, where setup installs it.
const readerRequire = createRequire(path.join(__dirname, 'cabrillo_reader', 'package.json'))
const { cabrilloToQSON } = readerRequire('@ham2k/lib-qson-cabrillo')

const failures = []
const expect = (what, got, want) => {
  if (JSON.stringify(got) !== JSON.stringify(want)) failures.push(`${what}: read ${JSON.stringify(got)}, expected ${JSON.stringify(want)}`)
}

// The reader upper-cases every line and keeps a value's trailing blank.
const single = {
  version: '3.0',
  contest: 'BALTIC',
  callsign: 'YL2AA',
  categoryOperator: 'SINGLE-OP',
  categoryBand: '80M',
  categoryMode: 'MIXED',
  categoryTime: '6-HOURS',
  claimedScore: '3',
  club: 'LRAL',
  createdBy: 'QORV 2.18',
  name: 'JANIS BERZINS',
  address: ['BRIVIBAS IELA 1'],
  addressCity: 'RIGA',
  addressPostalcode: 'LV-1010',
  addressCountry: 'LATVIA',
  email: 'YL2AA@EXAMPLE.LV',
  operators: 'YL2AA YL2BB',
  soapbox: ['GOOD NIGHT', '73']
}
// MULTI-OP: the transmitter line beside band and mode, no time.
const multi = Object.assign({}, single, { categoryOperator: 'MULTI-OP', categoryTransmitter: 'ONE ' })
delete multi.categoryTime

function check (file, headers) {
  const qson = cabrilloToQSON(fs.readFileSync(file, 'latin1'))
  const before = failures.length
  expect('header tags', Object.keys(qson.rawHeaders).sort(), Object.keys(headers).sort())
  for (const [tag, value] of Object.entries(headers)) expect(tag, qson.rawHeaders[tag], value)

  // In time order, as the reader sorts them.
  const qsos = [
    { freq: 3525, mode: 'CW', start: '2019-05-04T21:30:00Z', our: 'YL2AA', their: 'LY1BB' },
    { freq: 3700, mode: 'SSB', start: '2019-05-04T21:31:00Z', our: 'YL2AA', their: 'ES1AA' },
    { freq: 3528, mode: 'CW', start: '2019-05-04T21:45:00Z', our: 'YL2AA', their: 'LY1BB/MM/LONG' }
  ]
  expect('QSO count', qson.qsos.length, qsos.length)
  qsos.forEach((want, i) => {
    const q = qson.qsos[i] || { our: {}, their: {} }
    expect(`QSO ${i + 1}`, { freq: q.freq, mode: q.mode, start: q.start, our: q.our.call, their: q.their.call }, want)
  })

  // Against the public Cabrillo 3.0 lists: notes only.
  const allowed = {
    categoryBand: ['ALL', '160M', '80M', '40M', '20M', '15M', '10M', '6M', '4M', '2M'],
    categoryMode: ['SSB', 'CW', 'RTTY', 'FM', 'MIXED', 'DIGI'],
    categoryOperator: ['SINGLE-OP', 'MULTI-OP', 'CHECKLOG'],
    categoryTime: ['6-HOURS', '8-HOURS', '12-HOURS', '24-HOURS'],
    categoryTransmitter: ['ONE', 'TWO', 'LIMITED', 'UNLIMITED', 'SWL']
  }
  for (const [tag, values] of Object.entries(allowed)) {
    const v = qson.rawHeaders[tag]
    if (v !== undefined && !values.includes(v)) console.log(`note: ${tag} "${v}" is not a Cabrillo 3.0 value`)
  }
  if (!/^[A-Z0-9-]{1,32}$/.test(qson.rawHeaders.contest || '')) console.log(`note: CONTEST "${qson.rawHeaders.contest}" is not a Cabrillo 3.0 name`)
  if (!/^\d+$/.test(qson.rawHeaders.claimedScore || '')) console.log('note: CLAIMED-SCORE is not an integer')
  for (const line of fs.readFileSync(file, 'latin1').split('\r\n')) {
    const mode = line.startsWith('QSO:') ? line.substring(4).trim().split(/\s+/)[1] : undefined
    if (mode !== undefined && !['CW', 'PH', 'FM', 'RY', 'DG'].includes(mode)) console.log(`note: QSO mode "${mode}" is not a Cabrillo 3.0 mode`)
  }
  for (let i = before; i < failures.length; i++) failures[i] = `${path.basename(file)}: ${failures[i]}`
  console.log(`cabrillo reader: ${path.basename(file)}: ${qson.qsos.length} QSOs and ${Object.keys(qson.rawHeaders).length} header tags`)
}

check(process.argv[2], single)
check(process.argv[3], multi)

if (failures.length) {
  failures.forEach((f) => console.log(`FAIL ${f}`))
  process.exit(1)
}
console.log('cabrillo reader: both logs as written')
