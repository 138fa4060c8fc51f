// The texts HELP shows for every command the program offers: the host's own and those of the
// site-plan module it loads at start, each in English (--lang en) and in Chinese.
#include "host/cmds/helpcmds.h"

#include <cstddef>

#include "host/ed/commands.h"

namespace vorn::cmds {
namespace {

struct HelpEntry {
    const wchar_t* name;
    const wchar_t* summary;  // English: one line for the list
    const wchar_t* details;  // English: prompts and keywords, lines separated by '\n'
    const wchar_t* summaryZh;
    const wchar_t* detailsZh;
};

// The selection prompt of ERASE, MOVE, COPY and LIST, told once.
#define VORN_SELECT_EN                                                                    \
    L"the objects: a point picks one, W or C then two corners select by window or crossing " \
    L"window, ALL takes everything; Enter ends"
#define VORN_SELECT_ZH L"选择对象：点取拾取一个，W 或 C 后给两个角点按窗口或交叉窗口选择，ALL 全选；回车结束"

const HelpEntry kHostHelp[] = {
    {L"LINE", L"Draws straight lines from point to point.",
     L"Prompts: the first point, then the next points; Enter ends.\n"
     L"Keywords: C closes back to the first point, U takes the last point back.",
     L"绘制直线段。",
     L"提示：第一点，然后逐个下一点；回车结束。\n"
     L"关键字：C 闭合到第一点，U 回退上一点。"},
    {L"ARC", L"Draws an arc through three points.",
     L"Prompts: the start point, a second point on the arc, the end point.",
     L"过三点绘制圆弧。",
     L"提示：起点、弧上第二点、终点。"},
    {L"PLINE", L"Draws a polyline of straight and arc segments.",
     L"Prompts: the start point, then the next points; Enter ends.\n"
     L"Keywords: A arc segments (a point on the arc, then its end point), L straight again, "
     L"C closes, U takes the last point back.",
     L"绘制由直线段和圆弧段组成的多段线。",
     L"提示：起点，然后逐个下一点；回车结束。\n"
     L"关键字：A 圆弧段（弧上一点，再点终点），L 回到直线段，C 闭合，U 回退上一点。"},
    {L"CIRCLE", L"Draws a circle.",
     L"Prompts: the centre, then the radius (a number or a point on the circle).",
     L"绘制圆。",
     L"提示：圆心，然后半径（数值或圆上一点）。"},
    {L"TEXT", L"Writes a line of text.",
     L"Prompts: the start point, the height, the rotation angle in degrees, the text "
     L"(Chinese is fine).",
     L"书写单行文字。",
     L"提示：起点、字高、旋转角度（度）、文字内容（可用中文）。"},
    {L"INSERT", L"Inserts a block, or a DXF drawing as a block.",
     L"Prompts: the block name or drawing file, the insertion point, the scale factor "
     L"(Enter = 1), the rotation angle (Enter = 0).",
     L"插入图块，或将 DXF 图形作为图块插入。",
     L"提示：块名或图形文件、插入点、比例（回车为 1）、旋转角度（回车为 0）。"},
    {L"ERASE", L"Erases objects.", L"Prompts: " VORN_SELECT_EN L".",
     L"删除对象。", L"提示：" VORN_SELECT_ZH L"。"},
    {L"MOVE", L"Moves objects.",
     L"Prompts: " VORN_SELECT_EN L"; then a base point and a second point.",
     L"移动对象。", L"提示：" VORN_SELECT_ZH L"；然后基点和第二点。"},
    {L"COPY", L"Copies objects.",
     L"Prompts: " VORN_SELECT_EN L"; then a base point and a second point.",
     L"复制对象。", L"提示：" VORN_SELECT_ZH L"；然后基点和第二点。"},
    {L"LIST", L"Prints the data of objects.", L"Prompts: " VORN_SELECT_EN L".",
     L"列出对象的数据。", L"提示：" VORN_SELECT_ZH L"。"},
    {L"AUDIT", L"Lists objects with non-finite or degenerate geometry.", L"No prompts.",
     L"检查图形：列出坐标不是有限值或几何退化的对象。", L"无提示。"},
    {L"FILLET", L"Joins two lines, arcs or polylines with a fillet arc.",
     L"Prompts: the first object, then the second.\n"
     L"Keywords: R asks for the radius (FILLETRAD).",
     L"用圆弧连接两个对象（倒角）。",
     L"提示：第一个对象，然后第二个对象。\n"
     L"关键字：R 输入倒角半径（FILLETRAD）。"},
    {L"OFFSET", L"Draws a parallel copy of a line, arc, circle or polyline.",
     L"Prompts: the distance (Enter = the last one), then the object and a point on the side to "
     L"offset to; it repeats until Enter.\n"
     L"Keywords: T (Through) asks for a point the copy passes through instead of a distance; U "
     L"takes the last copy back.",
     L"偏移：绘制直线、圆弧、圆或多段线的平行副本。",
     L"提示：偏移距离（回车为上次的距离），然后选择对象，再点偏移到的一侧；反复进行，回车结束。\n"
     L"关键字：T（通过）不输距离，改为点取副本通过的点；U 放弃上一个副本。"},
    {L"TRIM", L"Cuts lines, arcs, circles and polylines back to cutting edges.",
     L"Prompts: the cutting edges (Enter = every curve of the drawing), then each object to trim, "
     L"picked on the part to remove; Enter ends.\n"
     L"Keywords: U takes the last trim back.",
     L"修剪：以剪切边修剪直线、圆弧、圆和多段线。",
     L"提示：选择剪切边（回车为图中全部曲线），然后逐个点取要修剪的对象上要去掉的部分；回车结束。\n"
     L"关键字：U 放弃上一次修剪。"},
    {L"EXTEND", L"Lengthens lines, arcs and open polylines to boundary edges.",
     L"Prompts: the boundary edges (Enter = every curve of the drawing), then each object to "
     L"extend, picked near the end to lengthen; Enter ends.\n"
     L"Keywords: U takes the last extension back.",
     L"延伸：将直线、圆弧和开放多段线延伸到边界边。",
     L"提示：选择边界边（回车为图中全部曲线），然后逐个在要延伸的一端附近点取对象；回车结束。\n"
     L"关键字：U 放弃上一次延伸。"},
    {L"ROTATE", L"Turns objects about a base point.",
     L"Prompts: " VORN_SELECT_EN L"; then the base point and the angle in degrees (or a point; "
     L"Enter = 0).\n"
     L"Keywords: R (Reference) asks a reference angle, then the new angle it should have.",
     L"旋转：绕基点旋转对象。",
     L"提示：" VORN_SELECT_ZH L"；然后基点和旋转角度（度，或点取一点；回车为 0）。\n"
     L"关键字：R（参照）先给参照角度，再给它的新角度。"},
    {L"SCALE", L"Enlarges or reduces objects about a base point.",
     L"Prompts: " VORN_SELECT_EN L"; then the base point and the scale factor (Enter = 1).\n"
     L"Keywords: R (Reference) asks a reference length, then the new length it should have.",
     L"缩放：以基点为中心放大或缩小对象。",
     L"提示：" VORN_SELECT_ZH L"；然后基点和比例因子（回车为 1）。\n"
     L"关键字：R（参照）先给参照长度，再给它的新长度。"},
    {L"MIRROR", L"Draws mirror images of objects, and keeps or erases the originals.",
     L"Prompts: " VORN_SELECT_EN L"; then two points of the mirror line, then whether to erase "
     L"the source objects (Y / N, Enter = N).",
     L"镜像：按镜像线生成对象的镜像，保留或删除源对象。",
     L"提示：" VORN_SELECT_ZH L"；然后镜像线上的两点，再选择是否删除源对象（Y / N，回车为 N）。"},
    {L"EXPLODE", L"Breaks polylines into lines and arcs, block references into their objects.",
     L"Prompts: " VORN_SELECT_EN L". Regions break into their outlines.",
     L"分解：将多段线分解为直线和圆弧，将块参照分解为其中的对象。",
     L"提示：" VORN_SELECT_ZH L"。面域分解为其轮廓线。"},
    {L"DIST", L"Measures the distance and angle between two points.",
     L"Prompts: the first point, then the second. Prints the distance (also in metres), the angle "
     L"in the XY plane and the differences in X, Y and Z, in the current UCS.",
     L"测量两点间的距离和角度。",
     L"提示：第一点，然后第二点。输出距离（并换算为米）、XY 平面内的角度及 X、Y、Z 方向的差值"
     L"（当前用户坐标系）。"},
    {L"AREA", L"Measures the area and perimeter of corner points or of an object.",
     L"Prompts: corner points one by one, Enter for the total; or O (Object, also Enter at the "
     L"first prompt) and a polyline, circle, arc or region. Prints the area (also in square "
     L"metres) and the perimeter (also in metres); an open curve counts as closed by its chord.",
     L"测量若干角点或一个对象围成的面积和周长。",
     L"提示：逐个点取角点，回车求总；或 O（对象，第一个提示下回车亦可）后选择多段线、圆、圆弧或面域。"
     L"输出面积（并换算为平方米）和周长（并换算为米）；开放曲线按其两端连线闭合计算。"},
    {L"U", L"Takes back the last command.", L"No prompts.",
     L"放弃上一个命令。", L"无提示。"},
    {L"UNDO", L"Takes back commands, or marks and groups them.",
     L"Prompts: the number of commands to take back (Enter = 1).\n"
     L"Keywords: M sets a mark, B goes back to it, BE begins a group, E ends it.",
     L"放弃若干命令，或设置标记和编组。",
     L"提示：要放弃的命令数（回车为 1）。\n"
     L"关键字：M 设置标记，B 回到标记，BE 开始编组，E 结束编组。"},
    {L"REDO", L"Brings back what U or UNDO took back.",
     L"No prompts; it must follow U or UNDO directly.",
     L"重做 U 或 UNDO 刚放弃的操作。", L"无提示；须紧接在 U 或 UNDO 之后。"},
    {L"LAYER", L"Makes layers and sets the current one.",
     L"Prompts: an option, then a layer name; Enter ends.\n"
     L"Keywords: M makes a layer and sets it current, S sets a layer current.",
     L"新建图层，设置当前图层。",
     L"提示：选项，然后图层名；回车结束。\n"
     L"关键字：M 新建图层并置为当前，S 将图层置为当前。"},
    {L"UCS", L"Sets the user coordinate system.",
     L"Prompts: the origin, then the X axis' rotation angle in degrees; typed points are then "
     L"user coordinates.\n"
     L"Keywords: W back to the world system.",
     L"设置用户坐标系。",
     L"提示：原点，然后 X 轴旋转角度（度）；此后输入的点为用户坐标。\n"
     L"关键字：W 回到世界坐标系。"},
    {L"SETVAR", L"Shows or sets a system variable.",
     L"Prompts: the variable's name, then its new value (Enter keeps it).\n"
     L"Keywords: ? lists the variables with their values.",
     L"查看或设置系统变量。",
     L"提示：变量名，然后新值（回车保持不变）。\n"
     L"关键字：? 列出全部变量及其值。"},
    {L"SYMBELEV", L"Places an elevation mark.",
     L"Prompts: the point, the elevation text, then 2 or 3 decimals (Enter = 2).",
     L"放置标高符号。",
     L"提示：标高点、标高文字，然后小数位数 2 或 3（回车为 2）。"},
    {L"SAVE", L"Saves the drawing as DXF.",
     L"Prompts: the file name (.dxf), only while the drawing has none.",
     L"将图形保存为 DXF 文件。", L"提示：图形还没有文件名时，输入文件名（.dxf）。"},
    {L"SAVEAS", L"Saves the drawing as DXF under a new name.", L"Prompts: the file name (.dxf).",
     L"将图形另存为 DXF 文件。", L"提示：文件名（.dxf）。"},
    {L"RENDER", L"Draws the drawing into a picture.",
     L"Prompts: the picture file (.png, .svg or .pdf).",
     L"将图形输出为图片。", L"提示：图片文件（.png、.svg 或 .pdf）。"},
    {L"PLOT", L"Plots the drawing on a sheet at a scale into a PDF (or PNG, SVG) file.",
     L"Prompts: the sheet, the scale, the area, its place on the sheet, the margins in "
     L"millimetres, the colours, the file (.pdf, .png or .svg).\n"
     L"Keywords: A0 to A4 (landscape), A0P to A4P (portrait) or WxH in millimetres; 1:N or Fit; "
     L"a window's corners, Extents or Window; Centre or Offset (x,y in millimetres); Colour or "
     L"Monochrome. Pens come from the drawing's line weights, else from plotstyle.json by colour.",
     L"按比例将图形布置在图纸上输出为 PDF（或 PNG、SVG）文件。",
     L"提示：图纸、比例、范围、在图纸上的位置、页边距（毫米）、颜色、文件（.pdf、.png 或 .svg）。\n"
     L"关键字：A0 至 A4（横向）、A0P 至 A4P（纵向）或 宽x高（毫米）；1:N 或 Fit；窗口角点、Extents 或 "
     L"Window；Centre 或 Offset（x,y 毫米）；Colour 或 Monochrome。线宽取自图形的线宽，否则按颜色取自 "
     L"plotstyle.json。"},
    {L"ARX", L"Loads or unloads a module.",
     L"Prompts: an option, then the module's file name (looked for beside the program when it "
     L"names no folder).\n"
     L"Keywords: L loads, U unloads, ? lists the loaded modules.",
     L"加载或卸载模块。",
     L"提示：选项，然后模块文件名（不含目录时在程序所在目录查找）。\n"
     L"关键字：L 加载，U 卸载，? 列出已加载的模块。"},
    {L"ZOOM", L"Changes the window's view (in a script, the view of its pictures).",
     L"Prompts: a corner and the opposite corner, or a scale factor (2 zooms in, 0.5 out); "
     L"Enter shows everything.\n"
     L"Keywords: E extents, W window, P the previous view.",
     L"缩放窗口视图（脚本中为其输出图片的视图）。",
     L"提示：一个角点和对角点，或缩放比例（2 放大，0.5 缩小）；回车显示全图。\n"
     L"关键字：E 范围，W 窗口，P 上一个视图。"},
    {L"PAN", L"Moves the window's view (in a script, the view of its pictures).", L"Prompts: a base point, then a second point.",
     L"平移窗口视图（脚本中为其输出图片的视图）。", L"提示：基点，然后第二点。"},
    {L"QUIT", L"Ends vorncad.",
     L"In the window, with unsaved changes it asks first: Yes saves, No does not, Cancel stays. "
     L"A script ends there.",
     L"退出 vorncad。",
     L"在窗口中有未保存的修改时先询问：是（保存）、否（不保存）、取消。脚本在此结束。"},
    {L"EXIT", L"Ends vorncad, as QUIT does.",
     L"In the window, with unsaved changes it asks first: Yes saves, No does not, Cancel stays. "
     L"A script ends there.",
     L"退出 vorncad，同 QUIT。",
     L"在窗口中有未保存的修改时先询问：是（保存）、否（不保存）、取消。脚本在此结束。"},
    {L"HELP", L"Lists the commands, or tells what one does.",
     L"HELP alone lists the commands; HELP NAME, on one line, tells what the command NAME does, "
     L"with its prompts and keywords.",
     L"列出全部命令，或说明一个命令。",
     L"单独的 HELP 列出全部命令；HELP 命令名（写在同一行）说明该命令的用途、提示和关键字。"},
};

// The site-plan module's commands. Their prompts are the module's own (Chinese as written,
// English with --lang en); the keyword letters are the same in both.
const HelpEntry kSitePlanHelp[] = {
    {L"KyDrawRoad",
     L"Draws roads: two edges and a centre line per segment, junctions opened and filleted.",
     L"Opens the road dialog: widths, centre line, fillets, which line the points follow.\n"
     L"Prompts: the road's start point, then its next points; Enter ends the road, Enter at the "
     L"start point ends the command.\n"
     L"Keywords: A arc segments (the end point, then a point on the arc between), L straight "
     L"again, U takes the last segment back, C closes the road back to its start and ends it "
     L"(the next point starts a new road).",
     L"绘制道路：每段生成两条边线和中心线，与已有道路相交处自动打开并倒角。",
     L"打开「道路绘制」对话框：左右宽度、中心线、倒角、定位线位置。\n"
     L"提示：道路起点，然后逐个下一点；回车结束当前道路，在起点提示下回车结束命令。\n"
     L"关键字：A 弧道路（先点终点，再点弧上的中间点），L 直道路，U 回退上一段，"
     L"C 闭合到起点并结束该道路（下一点为新道路的起点）。"},
    {L"KyRoadFillet", L"Fillets the corners of roads already drawn, inside a window.",
     L"Prompts: two corners of a crossing window over the corners; every pair of road lines "
     L"meeting end to end in it is filleted. Enter or Esc ends.\n"
     L"Keywords: Q switches between concentric and equal-radius fillets, R asks for the radius.",
     L"道路倒角：对窗口内已有道路的转角倒角。",
     L"提示：框选转角的两个角点（交叉窗口），窗口内首尾相接的道路线逐对倒角；回车或 Esc 结束。\n"
     L"关键字：Q 在同圆心与同半径之间切换，R 输入倒角半径。"},
    {L"KyDrawParkSpace", L"Lays rows of parking spaces, point to point or along a curve.",
     L"Opens the parking dialog: space size, angle, single or double row, style, count label.\n"
     L"Prompts: the row's start point, then its end point (the spaces lie on the left from start "
     L"to end), then the count label's place when it is ticked. Esc or Enter ends.\n"
     L"Keywords: Q puts the spaces on the other side; A lays them along a line, arc or polyline: "
     L"pick it, then the side.",
     L"车位布置：在两点之间或沿曲线布置停车位。",
     L"打开「车位布置」对话框：车位宽度和深度、角度、单排或双排、样式、标车位数。\n"
     L"提示：车位起点，然后终点（车位在起点到终点方向的左侧），勾选标车位数时再点标注位置；"
     L"Esc 或回车结束。\n"
     L"关键字：Q 切换车位布置方向；A 沿曲线布置：选取直线、圆弧或多段线，再点车位所在一侧。"},
    {L"KyRYBS", L"Plants trees at points, along a dragged line, along curves, or as a swept patch.",
     L"Opens the tree dialog; its mode buttons choose what is asked:\n"
     L"任意点取: a point per tree. 拖动绘制: a start point, then points, a tree every spacing "
     L"(U takes the last stretch back).\n"
     L"路径匹配: the curves to plant along, Enter ends. 成片布树: a click, the cursor swept over "
     L"the area, a click.\n"
     L"Esc ends.",
     L"任意布树：点取、拖动、沿路径或成片布置树木。",
     L"打开「任意布树」对话框，由绘制方式按钮决定提示：\n"
     L"任意点取：每点一棵树。拖动绘制：起始点，然后逐个下一点，按树间隔布树（U 回退）。\n"
     L"路径匹配：选择作为路径的曲线，回车结束。成片布树：点击开始，移动鼠标扫过区域，再点击结束。\n"
     L"Esc 结束命令。"},
    {L"KyMapLegend", L"Builds a legend table of site-plan symbols chosen from the library.",
     L"Opens the legend dialog: add symbols to the list on the right.\n"
     L"Prompts: the legend's position; each click places a copy; Enter or Esc ends.\n"
     L"Keywords: T picks the point of the legend that follows the cursor.",
     L"总平图例：从图库选取符号生成图例表。",
     L"打开「总平图例」对话框，将图例添加到右侧列表。\n"
     L"提示：点取图例位置，每点一次放置一份；回车或 Esc 结束。\n"
     L"关键字：T 改基点（点取图例上随光标移动的点）。"},
    {L"KyRoadElev", L"Places road elevation marks interpolated along a road.",
     L"Prompts: a base elevation mark, a second mark, the base line (the road's centre line; "
     L"Enter takes the line between the marks), then points on it; Enter ends.\n"
     L"Keywords: W types the grade in percent instead of a second mark; R rewrites marks: a "
     L"fixed mark, then the marks to rewrite.",
     L"道路标高：沿道路插值标注标高。",
     L"提示：选择基准标高、第二个标高，然后选基准线（道路中心线；回车取两标高间的直线），"
     L"再逐个点取确定位置；回车结束。\n"
     L"关键字：W 输入坡度（%）代替第二个标高；R 修改标高：先选固定标高，再选需要修改的标高。"},
    {L"KyRoadSlope",
     L"Marks a road's grade with a slope arrow: the grade in percent and the slope length.",
     L"Prompts: two elevation marks and Enter, the base line (Enter takes the line between "
     L"them), then the arrow's place along the road. It asks again until Enter or Esc.\n"
     L"Keywords: D by hand: the place, the direction, then the grade (%) and the length; E the "
     L"number of decimals (0 to 6).",
     L"道路坡度：以坡度箭头标注坡度（%）和坡长。",
     L"提示：选取两个道路标高后回车，选基准线（回车取两标高间的直线），再点取标注位置；"
     L"反复提示，直到回车或 Esc。\n"
     L"关键字：D 手动标注：位置、方向，再输入坡度（%）和坡长；E 设置精度（0 到 6 位小数）。"},
    {L"sample", L"Does nothing: shows that the site-plan module is loaded.", L"No prompts.",
     L"测试命令，不绘制任何内容：表明总图模块已加载。", L"无提示。"},
};

#undef VORN_SELECT_EN
#undef VORN_SELECT_ZH

template <std::size_t N>
void Register(const HelpEntry (&entries)[N]) {
    for (const HelpEntry& e : entries) {
        vorn::ed::SetCommandHelp(e.name, L"en", {e.summary, e.details});
        vorn::ed::SetCommandHelp(e.name, L"zh", {e.summaryZh, e.detailsZh});
    }
}

}  // namespace

void RegisterCommandHelp() {
    static bool done = false;
    if (done) return;
    done = true;
    Register(kHostHelp);
    Register(kSitePlanHelp);
}

}  // namespace vorn::cmds
