// The page's entry module: the only one that touches the window at load.
import { startPage } from './app.mjs';

startPage(document, window);
