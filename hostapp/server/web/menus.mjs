// The menu bar. What it offers comes from the session: the filters the
// plug-in registered, the downloads the server offers, the operations it
// accepts (an entry whose operation the server does not accept is disabled).

const plainTitle = (title) => title.replace(/\.\.\.$|…$/, '');

// The menus as data: [name, entries], an entry being null (a rule), a string
// (a category line) or { id, label, run, disabled }. `state` holds filters,
// exports, operations, canUndo and hasRecord; `run` the page's commands.
export function menuModel(state, run) {
  const can = (op) => state.operations.includes(op);
  const filter = state.filters[0];
  return [
    ['File', [
      { id: 'menu-new', label: 'New document…', run: run.newDocument, disabled: !can('document') },
      { id: 'menu-open-record', label: 'Open record…', run: run.openRecord, disabled: !can('record') },
      null,
      ...state.exports.map((e) => ({ id: 'menu-save-' + e.kind, label: 'Download ' + e.label, run: () => run.download(e) })),
    ]],
    ['Edit', [
      { id: 'menu-undo', label: 'Undo', run: run.undo, disabled: !state.canUndo || !can('undo') },
    ]],
    ['Filter', [
      {
        id: 'menu-repeat',
        label: filter ? 'Repeat ' + plainTitle(filter.title) : 'Repeat',
        run: run.repeat,
        disabled: !filter || !state.hasRecord || !can('repeat'),
      },
      null,
      ...filterEntries(state.filters, run.chooseFilter, !can('filter')),
    ]],
    ['Help', [
      {
        id: 'menu-about',
        label: filter ? 'About ' + plainTitle(filter.title) + '…' : 'About the plug-in…',
        run: run.about,
        disabled: !can('about'),
      },
    ]],
  ];
}

// The filters under their categories: a category line, then its titles.
export function filterEntries(filters, choose, disabled) {
  const out = [];
  for (const category of new Set(filters.map((f) => f.category))) {
    out.push(category);
    filters.forEach((f, index) => {
      if (f.category === category) out.push({ id: 'menu-filter-' + index, label: '  ' + f.title, run: choose, disabled });
    });
  }
  if (!filters.length) out.push('(the plug-in registered no filter)');
  return out;
}

export function closeMenus(doc) {
  doc.querySelectorAll('.menu.open').forEach((m) => m.classList.remove('open'));
}

export function buildMenus(doc, bar, model) {
  bar.textContent = '';
  for (const [name, entries] of model) {
    const menu = doc.createElement('div');
    menu.className = 'menu';
    const head = doc.createElement('button');
    head.type = 'button';
    head.textContent = name;
    head.id = 'menu-' + name.toLowerCase();
    head.onclick = (e) => {
      e.stopPropagation();
      const open = menu.classList.contains('open');
      closeMenus(doc);
      if (!open) menu.classList.add('open');
    };
    head.onmouseenter = () => {
      if (doc.querySelector('.menu.open') && !menu.classList.contains('open')) {
        closeMenus(doc);
        menu.classList.add('open');
      }
    };
    const list = doc.createElement('div');
    list.className = 'menu-list';
    for (const entry of entries) {
      if (entry === null) {
        list.append(doc.createElement('hr'));
      } else if (typeof entry === 'string') {
        const line = doc.createElement('div');
        line.className = 'category';
        line.textContent = entry;
        list.append(line);
      } else {
        const b = doc.createElement('button');
        b.type = 'button';
        b.id = entry.id;
        b.textContent = entry.label;
        b.disabled = !!entry.disabled;
        b.onclick = () => { closeMenus(doc); entry.run(); };
        list.append(b);
      }
    }
    menu.append(head, list);
    bar.append(menu);
  }
}
