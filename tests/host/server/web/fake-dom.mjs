// The least of a DOM that the page's item renderer uses, for tests in node.
class FakeClassList {
  constructor() { this.names = new Set(); }
  add(...names) { for (const n of names) this.names.add(n); }
  remove(...names) { for (const n of names) this.names.delete(n); }
  contains(name) { return this.names.has(name); }
  toggle(name, on = !this.names.has(name)) {
    if (on) this.names.add(name);
    else this.names.delete(name);
    return on;
  }
}

export class FakeElement {
  constructor(tagName) {
    this.tagName = tagName.toUpperCase();
    this.children = [];
    this.style = {};
    this.dataset = {};
    this.attributes = {};
    this.classList = new FakeClassList();
    this.listeners = {};
  }
  set className(text) { this.classList = new FakeClassList(); this.classList.add(...text.split(' ').filter(Boolean)); }
  get className() { return [...this.classList.names].join(' '); }
  append(...nodes) { this.children.push(...nodes); }
  setAttribute(name, value) { this.attributes[name] = String(value); }
  addEventListener(type, fn) { (this.listeners[type] ||= []).push(fn); }
  dispatch(type, event = {}) { for (const fn of this.listeners[type] || []) fn(event); }
  set textContent(text) { this.children = text === '' ? [] : [String(text)]; }
  get textContent() { return this.children.map((c) => (typeof c === 'string' ? c : c.textContent)).join(''); }
  // Elements below this one, depth first, that satisfy `test`.
  findAll(test) {
    const out = [];
    for (const c of this.children) {
      if (typeof c === 'string') continue;
      if (test(c)) out.push(c);
      out.push(...c.findAll(test));
    }
    return out;
  }
}

export const fakeDocument = { createElement: (tag) => new FakeElement(tag) };
